// The network links through the kernel's rtnetlink: a dump of every link
// with its counters and of the default routes of every table, and, while a
// watch is open, each change and removal of a link and each default route
// that comes or goes, in the order the kernel tells them,
// read by the event loop (a socket notifier: no timer, no wake-up while no
// link changes).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/volume/data_volume.h"
#include "core/volume/link_messages.h"

class QSocketNotifier;

namespace tempodial {

// Every link but loopback with its counters, each marked when a unicast
// IPv4 or IPv6 default route of any table goes through it; nothing when the
// kernel could not be asked or a dump was cut short.
std::optional<std::vector<InterfaceReading>> dumpLinks();

class LinkWatch {
 public:
  LinkWatch();
  ~LinkWatch();
  LinkWatch(const LinkWatch&) = delete;
  LinkWatch& operator=(const LinkWatch&) = delete;

  // Starts following the links' changes; false when no socket could be
  // made. Opening an open watch does nothing.
  bool open();
  void close();
  bool isOpen() const { return socket_ >= 0; }

  // A link changed (it went down or up, was renamed, or was made).
  std::function<void(const InterfaceReading&)> changed;
  // A link went away, with its last counters.
  std::function<void(const InterfaceReading&)> gone;
  // Default routes came or went (told once for all that were waiting).
  std::function<void()> routesChanged;

  // Tells now what the kernel has told and the event loop not yet.
  void drain();
  // What the kernel has told since, without telling it.
  LinkMessages take();

 private:
  void receive(bool dispatch, LinkMessages* into);

  int socket_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tempodial

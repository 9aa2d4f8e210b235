// The data volume of a run of the clock, as the session recorder asks for
// it: the kernel's counters read at the run's start, at each of the
// recorder's readings and at its end, and, between readings, each change
// and removal of a link that the kernel tells through rtnetlink, so that a
// link that hangs up takes nothing of its last seconds with it. The links
// and routes come from rtnetlink; from the proc and sys folders where no
// netlink socket can be made, or under a test's folder.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "core/volume/data_volume.h"
#include "platform/desktop/link_watch.h"

namespace tempodial {

// The interfaces named by `interfaces=` in the group [Volume] of the
// settings file (names, comma separated): what is counted, whatever the
// routes; empty when the key is missing.
QStringList pinnedInterfaces();

class VolumeMeter {
 public:
  // Where the kernel's counters are read: "/" (rtnetlink) but in tests,
  // which lay out the proc and sys folders under another folder.
  void setCountersRoot(const QString& root) { root_ = root; }

  // A run starts: nothing before this is counted.
  void start();
  // A reading; one that fails is skipped and the baselines stay.
  void read();
  // The run ends with a last reading.
  void stop();

  const DataVolume& volume() const { return counter_.volume(); }
  // The message for a reading at which only tunnels carried a default
  // route; empty when there were other links.
  QString tunnelsOnlyText() const;

  // The volume changed between readings: a link went away or was reset, or
  // a default route came or went.
  std::function<void()> changedBetweenReadings;

 private:
  std::optional<std::vector<InterfaceReading>> readNow() const;
  // Takes `now` as the reading, with the changes told while it was made.
  void take(const std::vector<InterfaceReading>& now);
  // A link's change or removal; a reading for a link of index 0.
  void follow(const InterfaceReading& link, bool gone);

  QString root_ = QStringLiteral("/");
  bool netlink_ = false;
  bool baseline_ = false;  // the run's first reading was had
  bool reading_ = false;   // inside read(), which a route's change does not enter again
  VolumeCounter counter_;
  LinkWatch watch_;
};

}  // namespace tempodial

// What the kernel's rtnetlink messages say about links and default routes:
// a link's index, name, kind, link type and counters (RTM_NEWLINK,
// RTM_DELLINK), and the links that a default route goes through
// (RTM_NEWROUTE, with every path of a multipath route) or no longer goes
// through (RTM_DELROUTE), read from the bytes
// of one or more messages as a netlink socket receives them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/volume/data_volume.h"

namespace tempodial {

struct LinkMessages {
  std::vector<InterfaceReading> links;  // RTM_NEWLINK: a link as it is now
  std::vector<InterfaceReading> gone;   // RTM_DELLINK: a link with its last counters
  // The links a unicast IPv4 or IPv6 default route of any table goes
  // through, each once, in the order first seen.
  std::vector<std::int64_t> routed;
  // A default route came or went (RTM_NEWROUTE, RTM_DELROUTE).
  bool routesChanged = false;
  bool done = false;    // the end of a dump (NLMSG_DONE)
  bool failed = false;  // an error, an interrupted dump, or a message cut short
};

// Adds what the messages in `data` say to `into`. Loopback is left out; a
// link without counters is kept with `known` false. Messages of other kinds
// are passed over.
void readLinkMessages(const std::uint8_t* data, std::size_t size, LinkMessages& into);

// The links of a dump with their default routes marked.
std::vector<InterfaceReading> routedLinks(const LinkMessages& dump);

}  // namespace tempodial

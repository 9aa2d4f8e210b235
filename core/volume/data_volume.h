// The data volume of a run of the clock: the bytes received and sent on the
// interfaces that carry the default routes, summed from the increases of the
// kernel's counters between readings, and written the way file managers
// write sizes.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tempodial {

// One network interface's counters at one reading.
struct InterfaceReading {
  std::string name;
  // The kernel's index of the interface: it is followed by this, so a
  // renamed interface keeps its count, and a new interface under an old name
  // has another index and its counters start again from 0.
  std::int64_t index = 0;
  std::uint64_t received = 0, sent = 0;
  // False when its counters could not be read this time: the reading is
  // skipped for it, never taken as 0.
  bool known = true;
  bool carriesDefault = false;  // an IPv4 or IPv6 default route goes through it
  // A tunnel device (VPN, ipip, gre, vxlan, ...): what it carries also
  // crosses the link it goes over.
  bool tunnel = false;
};

struct DataVolume {
  std::int64_t received = 0, sent = 0;
  std::int64_t total() const { return received + sent; }
};

// Sums a run's increases. Each interface, followed by its index, has its
// own baseline: the first good reading of the run, or the reading or change
// at which it appeared. An increase counts when the interface was counted at
// this reading or the one before: it carries a default route and is no
// tunnel, or it is a tunnel and no other interface carries a default route,
// or its name is pinned. A counter that went backwards (the interface was
// reset) counts from 0 again; an interface that went away adds its last
// counters and takes its baseline with it; one whose counters could not be
// read keeps its baseline until they can. Nothing is counted twice, nothing
// is negative.
class VolumeCounter {
 public:
  // Counts exactly the interfaces of these names, whatever their routes;
  // none: the interfaces are chosen by their routes.
  void pin(std::vector<std::string> names) { pinned_ = std::move(names); }
  // The readings at the start of a run: nothing before them is counted.
  void start(const std::vector<InterfaceReading>& now);
  // Adds the increases since the previous reading.
  void read(const std::vector<InterfaceReading>& now);
  // One interface changed between readings (went down or up, was renamed):
  // its counters now, so that a reset with the change is seen. Its routes
  // are those of the last reading.
  void changed(const InterfaceReading& link);
  // One interface went away, with its last counters.
  void gone(const InterfaceReading& link);
  const DataVolume& volume() const { return volume_; }
  // The tunnels counted at the last reading because no other interface
  // carried a default route; empty when there were none.
  const std::vector<std::string>& tunnelsOnly() const { return tunnelsOnly_; }

 private:
  struct Base {
    std::string name;
    std::uint64_t received = 0, sent = 0;
    bool known = false;    // the counters above were read
    bool counted = false;  // counted at the reading that set it
  };
  // Adds the increase from `base` to `now` when either was counted.
  void add(const Base& base, const InterfaceReading& now, bool counted);

  std::vector<std::string> pinned_;
  std::map<std::int64_t, Base> last_;
  DataVolume volume_;
  std::vector<std::string> tunnelsOnly_;
};

// Which interfaces of a reading are counted (see VolumeCounter), by their
// place in `now`; the names of the tunnels chosen because nothing else
// carries a default route are added to `tunnelsOnly`.
std::vector<bool> countedInterfaces(const std::vector<InterfaceReading>& now,
                                    const std::vector<std::string>& pinned,
                                    std::vector<std::string>* tunnelsOnly);

// A tunnel device by its rtnetlink kind ("wireguard", "tun", "ipip", "gre",
// "vxlan", ...) or its link type (ARPHRD_TUNNEL, ARPHRD_IPGRE, ...). A link
// type alone never makes a tunnel of ARPHRD_NONE, which mobile modems' raw IP
// links share with tun and WireGuard.
bool isTunnel(std::string_view kind, unsigned linkType);

// The interfaces that carry a default route in the kernel's route tables as
// /proc/net/route (IPv4) and /proc/net/ipv6_route (IPv6) write them: routes
// that are up, to everywhere, not rejecting. Loopback ("lo") is left out.
std::vector<std::string> defaultRouteInterfaces(std::string_view ipv4Routes,
                                                std::string_view ipv6Routes);

// Bytes as file managers write sizes, 1000-based with one decimal: "512 B",
// "1.5 kB", "34.2 MB", "2.0 GB".
std::string volumeText(std::int64_t bytes);

// A number of MB (1,000,000 bytes) as an exact decimal ("250", "12.5",
// "0.000001"): at most seven digits before the point and six after it, no
// sign, no exponent. The bytes, or nothing for any other text.
std::optional<std::int64_t> parseMegabytes(std::string_view text);
// Bytes as an exact number of MB, without trailing zeros: "250", "12.5".
std::string megabytesText(std::int64_t bytes);

}  // namespace tempodial

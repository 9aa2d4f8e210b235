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
#include <vector>

namespace tempodial {

// One network interface's counters at one reading.
struct InterfaceReading {
  std::string name;
  // The kernel's index of the interface: a new interface under an old name
  // has another, and its counters start again from 0.
  std::int64_t index = 0;
  std::uint64_t received = 0, sent = 0;
  bool carriesDefault = false;  // an IPv4 or IPv6 default route goes through it
};

struct DataVolume {
  std::int64_t received = 0, sent = 0;
  std::int64_t total() const { return received + sent; }
};

// Sums a run's increases. Each interface has its own baseline: the first
// reading of the run, or the reading at which it appeared. An increase counts
// when the interface carried a default route at this reading or the one
// before. A counter that went backwards (the interface was reset, or is a new
// one under the same name) counts from 0 again; an interface that vanished
// takes its baseline with it. Nothing is counted twice, nothing is negative.
class VolumeCounter {
 public:
  // The readings at the start of a run: nothing before them is counted.
  void start(const std::vector<InterfaceReading>& now);
  // Adds the increases since the previous reading.
  void read(const std::vector<InterfaceReading>& now);
  const DataVolume& volume() const { return volume_; }

 private:
  std::map<std::string, InterfaceReading, std::less<>> last_;
  DataVolume volume_;
};

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

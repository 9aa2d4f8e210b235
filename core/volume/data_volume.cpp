#include "core/volume/data_volume.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "core/values/fixed_point.h"

namespace tempodial {
namespace {

// Adds without passing the largest count.
std::int64_t plus(std::int64_t sum, std::uint64_t increase) {
  constexpr auto most = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  const auto room = most - static_cast<std::uint64_t>(sum);
  return increase >= room ? static_cast<std::int64_t>(most)
                          : sum + static_cast<std::int64_t>(increase);
}

// The increase from `before` to `now`; a counter that went backwards was
// started again from 0 and everything it holds is new.
std::uint64_t increase(std::uint64_t before, std::uint64_t now) {
  return now >= before ? now - before : now;
}

// A route's flags, written in hexadecimal; 0 when they are not.
unsigned long hex(const std::string& text) { return std::strtoul(text.c_str(), nullptr, 16); }

}  // namespace

void VolumeCounter::start(const std::vector<InterfaceReading>& now) {
  last_.clear();
  volume_ = {};
  for (const InterfaceReading& reading : now) last_[reading.name] = reading;
}

void VolumeCounter::read(const std::vector<InterfaceReading>& now) {
  std::map<std::string, InterfaceReading, std::less<>> next;
  for (const InterfaceReading& reading : now) {
    const auto before = last_.find(reading.name);
    const bool same = before != last_.end() && before->second.index == reading.index;
    // An interface that came since the last reading counts from 0: all its
    // counters hold was sent and received during the run.
    const InterfaceReading base = same ? before->second : InterfaceReading{};
    if (reading.carriesDefault || (same && base.carriesDefault)) {
      volume_.received = plus(volume_.received, increase(base.received, reading.received));
      volume_.sent = plus(volume_.sent, increase(base.sent, reading.sent));
    }
    next[reading.name] = reading;
  }
  last_ = std::move(next);
}

std::vector<std::string> defaultRouteInterfaces(std::string_view ipv4Routes,
                                                std::string_view ipv6Routes) {
  constexpr unsigned long kUp = 0x1, kReject = 0x200;
  std::vector<std::string> names;
  const auto add = [&names](const std::string& name, unsigned long flags) {
    if (name.empty() || name == "lo" || !(flags & kUp) || (flags & kReject)) return;
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  };
  std::istringstream v4{std::string(ipv4Routes)};
  std::string line;
  std::getline(v4, line);  // the heading
  while (std::getline(v4, line)) {
    std::istringstream fields(line);
    std::string name, destination, gateway, flags, refs, use, metric, mask;
    if (!(fields >> name >> destination >> gateway >> flags >> refs >> use >> metric >> mask)) {
      continue;
    }
    if (destination == "00000000" && mask == "00000000") add(name, hex(flags));
  }
  std::istringstream v6{std::string(ipv6Routes)};
  while (std::getline(v6, line)) {
    std::istringstream fields(line);
    std::string destination, length, source, sourceLength, next, metric, refs, use, flags, name;
    if (!(fields >> destination >> length >> source >> sourceLength >> next >> metric >> refs >>
          use >> flags >> name)) {
      continue;
    }
    if (length == "00" && destination.find_first_not_of('0') == std::string::npos) {
      add(name, hex(flags));
    }
  }
  return names;
}

std::string volumeText(std::int64_t bytes) {
  if (bytes < 0) bytes = 0;
  if (bytes < 1000) return std::to_string(bytes) + " B";
  static constexpr const char* kUnits[] = {"kB", "MB", "GB", "TB", "PB", "EB"};
  std::int64_t unit = 1000;
  std::size_t which = 0;
  // Tenths of the unit, rounded half up; a rounding that reaches 1000 of a
  // unit is written in the next one.
  const auto tenthsOf = [bytes](std::int64_t unit) {
    return bytes / (unit / 10) + (bytes % (unit / 10) >= unit / 20);
  };
  std::int64_t tenths = tenthsOf(unit);
  while (tenths >= 10000 && which + 1 < std::size(kUnits)) {
    unit *= 1000;
    ++which;
    tenths = tenthsOf(unit);
  }
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " " + kUnits[which];
}

std::optional<std::int64_t> parseMegabytes(std::string_view text) {
  return parseFixedPoint(text, 7, 6);
}

std::string megabytesText(std::int64_t bytes) { return fixedPointText(bytes, 6); }

}  // namespace tempodial

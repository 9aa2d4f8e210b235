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

std::vector<bool> countedInterfaces(const std::vector<InterfaceReading>& now,
                                    const std::vector<std::string>& pinned,
                                    std::vector<std::string>* tunnelsOnly) {
  std::vector<bool> counted(now.size(), false);
  if (!pinned.empty()) {
    for (std::size_t n = 0; n < now.size(); ++n) {
      counted[n] = std::find(pinned.begin(), pinned.end(), now[n].name) != pinned.end();
    }
    return counted;
  }
  const bool physical = std::any_of(now.begin(), now.end(), [](const InterfaceReading& link) {
    return link.carriesDefault && !link.tunnel;
  });
  for (std::size_t n = 0; n < now.size(); ++n) {
    counted[n] = now[n].carriesDefault && (!now[n].tunnel || !physical);
    if (counted[n] && now[n].tunnel && tunnelsOnly != nullptr) tunnelsOnly->push_back(now[n].name);
  }
  return counted;
}

bool isTunnel(std::string_view kind, unsigned linkType) {
  static constexpr std::string_view kKinds[] = {
      "tun",  "wireguard", "ipip", "gre",    "gretap", "ip6gre",  "ip6gretap", "erspan",
      "sit",  "ip6tnl",    "vti",  "vti6",   "xfrm",   "vxlan",   "geneve",    "bareudp",
      "l2tp", "ip6erspan", "amt",  "ipvtap", "gtp",    "openvpn", "ovpn"};
  if (std::find(std::begin(kKinds), std::end(kKinds), kind) != std::end(kKinds)) return true;
  // ARPHRD_TUNNEL, ARPHRD_TUNNEL6, ARPHRD_SIT, ARPHRD_IPGRE, ARPHRD_IP6GRE.
  static constexpr unsigned kTypes[] = {768, 769, 776, 778, 823};
  return std::find(std::begin(kTypes), std::end(kTypes), linkType) != std::end(kTypes);
}

void VolumeCounter::start(const std::vector<InterfaceReading>& now) {
  last_.clear();
  volume_ = {};
  tunnelsOnly_.clear();
  const std::vector<bool> counted = countedInterfaces(now, pinned_, &tunnelsOnly_);
  for (std::size_t n = 0; n < now.size(); ++n) {
    const InterfaceReading& link = now[n];
    last_[link.index] = {link.name, link.received, link.sent, link.known, counted[n]};
  }
}

void VolumeCounter::add(const Base& base, const InterfaceReading& now, bool counted) {
  if (!counted && !base.counted) return;
  volume_.received = plus(volume_.received, increase(base.received, now.received));
  volume_.sent = plus(volume_.sent, increase(base.sent, now.sent));
}

void VolumeCounter::read(const std::vector<InterfaceReading>& now) {
  tunnelsOnly_.clear();
  const std::vector<bool> counted = countedInterfaces(now, pinned_, &tunnelsOnly_);
  std::map<std::int64_t, Base> next;
  for (std::size_t n = 0; n < now.size(); ++n) {
    const InterfaceReading& link = now[n];
    const auto before = last_.find(link.index);
    Base& base = next[link.index];
    if (!link.known) {
      // Skipped: the baseline stays for the next good reading.
      if (before != last_.end()) base = before->second;
      base.name = link.name;
      base.counted = base.counted || counted[n];
      continue;
    }
    if (before == last_.end()) {
      // It came since the last reading: all its counters hold is new.
      add(Base{}, link, counted[n]);
    } else if (before->second.known) {
      add(before->second, link, counted[n]);
    }  // else its first good reading: the baseline from now on
    base = {link.name, link.received, link.sent, true, counted[n]};
  }
  last_ = std::move(next);
}

void VolumeCounter::changed(const InterfaceReading& link) {
  const auto before = last_.find(link.index);
  if (before == last_.end()) {
    // New since the last reading: counted from here once a route makes it so.
    if (link.known) last_[link.index] = {link.name, link.received, link.sent, true, false};
    return;
  }
  Base& base = before->second;
  base.name = link.name;
  if (!link.known) return;
  if (base.known) add(base, link, false);
  base.received = link.received;
  base.sent = link.sent;
  base.known = true;
}

void VolumeCounter::gone(const InterfaceReading& link) {
  const auto before = last_.find(link.index);
  if (before == last_.end()) return;
  if (link.known && before->second.known) add(before->second, link, false);
  last_.erase(before);
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

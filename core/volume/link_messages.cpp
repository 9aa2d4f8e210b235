#include "core/volume/link_messages.h"

#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace tempodial {
namespace {

// One attribute's payload.
struct Attribute {
  unsigned type = 0;
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
};

// The attributes in `data`, each passed to `each`; false when one is cut
// short.
template <typename Each>
bool forEachAttribute(const std::uint8_t* data, std::size_t size, Each each) {
  while (size >= sizeof(rtattr)) {
    rtattr header;
    std::memcpy(&header, data, sizeof header);
    if (header.rta_len < sizeof header || header.rta_len > size) return false;
    each(Attribute{static_cast<unsigned>(header.rta_type & NLA_TYPE_MASK), data + RTA_LENGTH(0),
                   header.rta_len - RTA_LENGTH(0)});
    const std::size_t step = std::min<std::size_t>(RTA_ALIGN(header.rta_len), size);
    data += step;
    size -= step;
  }
  return true;
}

template <typename T>
std::optional<T> value(const Attribute& attribute) {
  if (attribute.size < sizeof(T)) return std::nullopt;
  T out;
  std::memcpy(&out, attribute.data, sizeof out);
  return out;
}

std::string text(const Attribute& attribute) {
  const auto* begin = reinterpret_cast<const char*>(attribute.data);
  return std::string(begin, strnlen(begin, attribute.size));
}

// A link message's payload; nothing for loopback, or for one cut short.
std::optional<InterfaceReading> readLink(const std::uint8_t* data, std::size_t size, bool* bad) {
  if (size < sizeof(ifinfomsg)) {
    *bad = true;
    return std::nullopt;
  }
  ifinfomsg info;
  std::memcpy(&info, data, sizeof info);
  InterfaceReading link;
  link.index = info.ifi_index;
  link.known = false;
  std::string kind;
  bool have64 = false;
  const std::size_t head = NLMSG_ALIGN(sizeof info);
  const bool whole = forEachAttribute(
      data + std::min(head, size), size - std::min(head, size), [&](const Attribute& a) {
        if (a.type == IFLA_IFNAME) {
          link.name = text(a);
        } else if (a.type == IFLA_STATS64) {
          if (auto stats = value<rtnl_link_stats64>(a)) {
            link.received = stats->rx_bytes;
            link.sent = stats->tx_bytes;
            link.known = have64 = true;
          }
        } else if (a.type == IFLA_STATS && !have64) {
          if (auto stats = value<rtnl_link_stats>(a)) {
            link.received = stats->rx_bytes;
            link.sent = stats->tx_bytes;
            link.known = true;
          }
        } else if (a.type == IFLA_LINKINFO) {
          forEachAttribute(a.data, a.size, [&kind](const Attribute& inner) {
            if (inner.type == IFLA_INFO_KIND) kind = text(inner);
          });
        }
      });
  if (!whole || link.name.empty()) {
    *bad = true;
    return std::nullopt;
  }
  if (info.ifi_flags & IFF_LOOPBACK) return std::nullopt;
  link.tunnel = isTunnel(kind, info.ifi_type);
  return link;
}

// The links a route message's default route goes through; true when it is
// one.
bool readRoute(const std::uint8_t* data, std::size_t size, std::vector<std::int64_t>& routed,
               bool* bad) {
  if (size < sizeof(rtmsg)) {
    *bad = true;
    return false;
  }
  rtmsg route;
  std::memcpy(&route, data, sizeof route);
  if ((route.rtm_family != AF_INET && route.rtm_family != AF_INET6) || route.rtm_dst_len != 0 ||
      route.rtm_type != RTN_UNICAST) {
    return false;
  }
  const auto add = [&routed](std::int64_t index) {
    if (index > 0 && std::find(routed.begin(), routed.end(), index) == routed.end()) {
      routed.push_back(index);
    }
  };
  const std::size_t head = NLMSG_ALIGN(sizeof route);
  const bool whole = forEachAttribute(
      data + std::min(head, size), size - std::min(head, size), [&](const Attribute& a) {
        if (a.type == RTA_OIF) {
          if (auto index = value<std::uint32_t>(a)) add(*index);
        } else if (a.type == RTA_MULTIPATH) {
          const std::uint8_t* next = a.data;
          std::size_t left = a.size;
          while (left >= sizeof(rtnexthop)) {
            rtnexthop hop;
            std::memcpy(&hop, next, sizeof hop);
            if (hop.rtnh_len < sizeof hop || hop.rtnh_len > left) {
              *bad = true;
              return;
            }
            add(hop.rtnh_ifindex);
            const std::size_t step = std::min<std::size_t>(RTNH_ALIGN(hop.rtnh_len), left);
            next += step;
            left -= step;
          }
        }
      });
  if (!whole) *bad = true;
  return true;
}

}  // namespace

void readLinkMessages(const std::uint8_t* data, std::size_t size, LinkMessages& into) {
  while (size >= sizeof(nlmsghdr)) {
    nlmsghdr header;
    std::memcpy(&header, data, sizeof header);
    if (header.nlmsg_len < sizeof header || header.nlmsg_len > size) {
      into.failed = true;
      return;
    }
    const std::uint8_t* payload = data + NLMSG_HDRLEN;
    const std::size_t length =
        header.nlmsg_len - std::min<std::size_t>(NLMSG_HDRLEN, header.nlmsg_len);
    bool bad = false;
    if (header.nlmsg_flags & NLM_F_DUMP_INTR) into.failed = true;
    switch (header.nlmsg_type) {
      case NLMSG_DONE:
        into.done = true;
        break;
      case NLMSG_ERROR:
        into.failed = true;
        break;
      case RTM_NEWLINK:
      case RTM_DELLINK:
        if (auto link = readLink(payload, length, &bad)) {
          (header.nlmsg_type == RTM_NEWLINK ? into.links : into.gone).push_back(std::move(*link));
        }
        break;
      case RTM_NEWROUTE:
        if (readRoute(payload, length, into.routed, &bad)) into.routesChanged = true;
        break;
      case RTM_DELROUTE: {
        std::vector<std::int64_t> gone;
        if (readRoute(payload, length, gone, &bad)) into.routesChanged = true;
        break;
      }
      default:
        break;
    }
    if (bad) into.failed = true;
    const std::size_t step = std::min<std::size_t>(NLMSG_ALIGN(header.nlmsg_len), size);
    data += step;
    size -= step;
  }
  if (size > 0) into.failed = true;  // less than a message is left
}

std::vector<InterfaceReading> routedLinks(const LinkMessages& dump) {
  std::vector<InterfaceReading> links = dump.links;
  for (InterfaceReading& link : links) {
    link.carriesDefault =
        std::find(dump.routed.begin(), dump.routed.end(), link.index) != dump.routed.end();
  }
  return links;
}

}  // namespace tempodial

// The links and routes as rtnetlink tells them, and the run's volume kept
// from them: tunnels counted once, hang-ups, renames, resets, failed
// readings, multipath and every table's default routes.
#include <gtest/gtest.h>
#include <linux/if_arp.h>
#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/volume/data_volume.h"
#include "core/volume/link_messages.h"

namespace tempodial {
namespace {

using Bytes = std::vector<std::uint8_t>;

void append(Bytes& out, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out.insert(out.end(), bytes, bytes + size);
  out.resize((out.size() + 3) & ~std::size_t{3});
}

Bytes attribute(unsigned short type, const void* data, std::size_t size) {
  Bytes out;
  const rtattr header{static_cast<unsigned short>(RTA_LENGTH(size)), type};
  append(out, &header, sizeof header);
  append(out, data, size);
  return out;
}

Bytes message(unsigned short type, const void* head, std::size_t headSize,
              const std::vector<Bytes>& attributes, unsigned short flags = 0) {
  Bytes body;
  append(body, head, headSize);
  for (const Bytes& a : attributes) body.insert(body.end(), a.begin(), a.end());
  nlmsghdr header{};
  header.nlmsg_len = static_cast<std::uint32_t>(NLMSG_HDRLEN + body.size());
  header.nlmsg_type = type;
  header.nlmsg_flags = flags;
  Bytes out;
  append(out, &header, sizeof header);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

struct Link {
  int index;
  const char* name;
  const char* kind;  // "" for none
  unsigned short type = ARPHRD_ETHER;
  int stats = 64;  // 64, 32, or 0 for none
  std::uint64_t received = 0, sent = 0;
  unsigned flags = IFF_UP;
};

Bytes linkMessage(const Link& link, unsigned short type = RTM_NEWLINK) {
  ifinfomsg info{};
  info.ifi_index = link.index;
  info.ifi_type = link.type;
  info.ifi_flags = link.flags;
  std::vector<Bytes> attributes{attribute(IFLA_IFNAME, link.name, std::strlen(link.name) + 1)};
  if (link.stats == 64) {
    rtnl_link_stats64 stats{};
    stats.rx_bytes = link.received;
    stats.tx_bytes = link.sent;
    attributes.push_back(attribute(IFLA_STATS64, &stats, sizeof stats));
  } else if (link.stats == 32) {
    rtnl_link_stats stats{};
    stats.rx_bytes = static_cast<std::uint32_t>(link.received);
    stats.tx_bytes = static_cast<std::uint32_t>(link.sent);
    attributes.push_back(attribute(IFLA_STATS, &stats, sizeof stats));
  }
  if (*link.kind) {
    const Bytes kind = attribute(IFLA_INFO_KIND, link.kind, std::strlen(link.kind) + 1);
    attributes.push_back(attribute(IFLA_LINKINFO, kind.data(), kind.size()));
  }
  return message(type, &info, sizeof info, attributes);
}

struct Route {
  unsigned char family = AF_INET;
  unsigned char length = 0;  // of the destination: 0 for a default route
  unsigned char kind = RTN_UNICAST;
  std::vector<int> through;  // one: RTA_OIF; more: RTA_MULTIPATH
  unsigned table = RT_TABLE_MAIN;
};

Bytes routeMessage(const Route& route) {
  rtmsg head{};
  head.rtm_family = route.family;
  head.rtm_dst_len = route.length;
  head.rtm_type = route.kind;
  head.rtm_table = static_cast<unsigned char>(route.table < 256 ? route.table : 0);
  std::vector<Bytes> attributes{attribute(RTA_TABLE, &route.table, sizeof route.table)};
  if (route.through.size() == 1) {
    const std::uint32_t index = route.through[0];
    attributes.push_back(attribute(RTA_OIF, &index, sizeof index));
  } else {
    Bytes hops;
    for (int index : route.through) {
      rtnexthop hop{};
      hop.rtnh_len = sizeof hop;
      hop.rtnh_ifindex = index;
      append(hops, &hop, sizeof hop);
    }
    attributes.push_back(attribute(RTA_MULTIPATH, hops.data(), hops.size()));
  }
  return message(RTM_NEWROUTE, &head, sizeof head, attributes);
}

Bytes join(const std::vector<Bytes>& parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// "name index received/sent [t][r]" for each link, as the dump reads.
std::string described(const std::vector<InterfaceReading>& links) {
  std::string out;
  for (const InterfaceReading& l : links) {
    out += l.name + ' ' + std::to_string(l.index) + ' ' +
           (l.known ? std::to_string(l.received) + '/' + std::to_string(l.sent) : "?") +
           (l.tunnel ? " t" : "") + (l.carriesDefault ? " r" : "") + "; ";
  }
  return out;
}

TEST(LinkMessages, LinksAndDefaultRoutesAsTheKernelDumpsThem) {
  const Bytes done = message(NLMSG_DONE, nullptr, 0, {});
  struct Case {
    const char* what;
    Bytes bytes;
    std::string links;
    bool failed = false;
  };
  const Case cases[] = {
      {"a physical link with its 64-bit counters and an IPv4 default route in the main table",
       join({linkMessage({2, "eth0", "", ARPHRD_ETHER, 64, 6'000'000'000, 70}),
             routeMessage({AF_INET, 0, RTN_UNICAST, {2}}), done}),
       "eth0 2 6000000000/70 r; "},
      {"loopback is left out, and a route to a network is no default route",
       join({linkMessage({1, "lo", "", ARPHRD_LOOPBACK, 64, 5, 5, IFF_UP | IFF_LOOPBACK}),
             linkMessage({2, "eth0", "", ARPHRD_ETHER, 64, 1, 2}),
             routeMessage({AF_INET, 24, RTN_UNICAST, {2}}),
             routeMessage({AF_INET6, 0, RTN_UNREACHABLE, {1}}), done}),
       "eth0 2 1/2; "},
      {"tunnels by kind or link type; a modem's raw IP link is none, though its type is tun's",
       join({linkMessage({3, "wg0", "wireguard", ARPHRD_NONE}),
             linkMessage({4, "vx0", "vxlan", ARPHRD_ETHER}),
             linkMessage({5, "gre1", "", ARPHRD_IPGRE}), linkMessage({6, "sit1", "", ARPHRD_SIT}),
             linkMessage({7, "wwan0", "", ARPHRD_NONE}),
             linkMessage({8, "ppp0", "ppp", ARPHRD_PPP}),
             linkMessage({9, "tun0", "tun", ARPHRD_NONE}), done}),
       "wg0 3 0/0 t; vx0 4 0/0 t; gre1 5 0/0 t; sit1 6 0/0 t; wwan0 7 0/0; ppp0 8 0/0; tun0 9 0/0 "
       "t; "},
      {"both paths of a multipath route, IPv6 and a table other than main",
       join({linkMessage({2, "eth0", ""}), linkMessage({3, "eth1", ""}),
             linkMessage({4, "wwan0", ""}), linkMessage({5, "wg0", "wireguard"}),
             routeMessage({AF_INET, 0, RTN_UNICAST, {2, 3}}),
             routeMessage({AF_INET6, 0, RTN_UNICAST, {4}, RT_TABLE_MAIN}),
             routeMessage({AF_INET, 0, RTN_UNICAST, {5}, 51820}), done}),
       "eth0 2 0/0 r; eth1 3 0/0 r; wwan0 4 0/0 r; wg0 5 0/0 t r; "},
      {"32-bit counters where there are no 64-bit ones; none: unknown",
       join({linkMessage({2, "eth0", "", ARPHRD_ETHER, 32, 4000, 300}),
             linkMessage({3, "eth1", "", ARPHRD_ETHER, 0, 9, 9}), done}),
       "eth0 2 4000/300; eth1 3 ?; "},
      {"an interrupted dump fails", join({message(NLMSG_DONE, nullptr, 0, {}, NLM_F_DUMP_INTR)}),
       "", true},
      {"an error fails", join({message(NLMSG_ERROR, nullptr, 0, {})}), "", true},
  };
  for (const Case& c : cases) {
    LinkMessages dump;
    readLinkMessages(c.bytes.data(), c.bytes.size(), dump);
    EXPECT_EQ(described(routedLinks(dump)), c.links) << c.what;
    EXPECT_EQ(dump.failed, c.failed) << c.what;
    EXPECT_TRUE(dump.done || c.failed) << c.what;
  }
  // A message cut short anywhere fails, never reads past its end.
  const Bytes whole =
      join({linkMessage({2, "eth0", "vxlan"}), routeMessage({AF_INET, 0, RTN_UNICAST, {2, 3}})});
  for (std::size_t size = 1; size < whole.size(); ++size) {
    Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    LinkMessages dump;
    readLinkMessages(cut.data(), cut.size(), dump);
    const std::size_t first = linkMessage({2, "eth0", "vxlan"}).size();
    EXPECT_EQ(dump.failed, size != first) << size;
  }
  // An attribute longer than its message, or shorter than its own header,
  // fails the message.
  for (const unsigned short length : {0, 3, 200}) {
    Bytes bad = linkMessage({2, "eth0", "vxlan"});
    const unsigned short at = NLMSG_HDRLEN + NLMSG_ALIGN(sizeof(ifinfomsg));
    std::memcpy(bad.data() + at, &length, sizeof length);
    LinkMessages dump;
    readLinkMessages(bad.data(), bad.size(), dump);
    EXPECT_TRUE(dump.failed) << length;
    EXPECT_TRUE(dump.links.empty()) << length;
  }
  // A removal carries the link's last counters.
  const Bytes gone = linkMessage({7, "ppp0", "ppp", ARPHRD_PPP, 64, 12345, 678}, RTM_DELLINK);
  LinkMessages events;
  readLinkMessages(gone.data(), gone.size(), events);
  ASSERT_EQ(events.gone.size(), 1u);
  EXPECT_EQ(described(events.gone), "ppp0 7 12345/678; ");
  EXPECT_TRUE(events.links.empty());
}

// One step of a run: a reading, or a link's change or removal between them.
struct Step {
  enum { Read, Changed, Gone } what;
  std::vector<InterfaceReading> links;
};

InterfaceReading at(std::int64_t index, const char* name, std::uint64_t received,
                    std::uint64_t sent, const char* marks = "") {
  InterfaceReading link;
  link.index = index;
  link.name = name;
  link.received = received;
  link.sent = sent;
  const std::string m = marks;
  link.carriesDefault = m.find('r') != std::string::npos;
  link.tunnel = m.find('t') != std::string::npos;
  link.known = m.find('?') == std::string::npos;
  return link;
}

TEST(VolumeCounter, EveryByteOnce) {
  using S = Step;
  struct Case {
    const char* what;
    std::vector<Step> steps;  // the first reading starts the run
    std::int64_t received, sent;
    std::vector<std::string> pinned = {};
    std::vector<std::string> tunnelsOnly = {};
  };
  const Case cases[] = {
      {"a tunnel over a link that keeps its own default route counts on the link only",
       {{S::Read, {at(2, "veth0", 1000, 100, "r"), at(9, "vx0", 0, 0, "tr")}},
        {S::Read,
         {at(2, "veth0", 11'500'000, 600'100, "r"), at(9, "vx0", 10'000'000, 500'000, "tr")}}},
       11'499'000,
       600'000},
      {"where only tunnels carry a default route they are counted, and named",
       {{S::Read, {at(2, "eth0", 0, 0), at(9, "wg0", 100, 10, "tr")}},
        {S::Read, {at(2, "eth0", 5000, 500), at(9, "wg0", 4100, 410, "tr")}}},
       4000,
       400,
       {},
       {"wg0"}},
      {"pinned names count whatever their routes",
       {{S::Read, {at(2, "eth0", 0, 0, "r"), at(3, "wwan0", 10, 1), at(9, "wg0", 0, 0, "tr")}},
        {S::Read,
         {at(2, "eth0", 700, 70, "r"), at(3, "wwan0", 310, 31), at(9, "wg0", 9, 9, "tr")}}},
       309,
       39,
       {"wwan0", "wg0"}},
      {"a hang-up adds the link's last counters",
       {{S::Read, {at(7, "ppp0", 1000, 10, "r")}},
        {S::Read, {at(7, "ppp0", 3000, 30, "r")}},
        {S::Gone, {at(7, "ppp0", 9'800'000, 98)}},
        {S::Read, {}}},
       9'799'000,
       88},
      {"a link deleted and made again under its name counts both lives",
       {{S::Read, {at(4, "veth0", 500, 5, "r")}},
        {S::Gone, {at(4, "veth0", 3000, 30)}},
        {S::Changed, {at(8, "veth0", 0, 0)}},
        {S::Read, {at(8, "veth0", 2000, 20, "r")}}},
       4500,
       45},
      {"a renamed link keeps its count",
       {{S::Read, {at(3, "eth0", 40'000'000, 400, "r")}},
        {S::Changed, {at(3, "wan", 40'000'100, 401)}},
        {S::Read, {at(3, "wan", 40'001'000, 410, "r")}}},
       1000,
       10},
      {"a reset seen when it happens, though the counter passes its old value by the reading",
       {{S::Read, {at(2, "eth0", 5000, 50, "r")}},
        {S::Changed, {at(2, "eth0", 9000, 90)}},
        {S::Changed, {at(2, "eth0", 0, 0)}},
        {S::Read, {at(2, "eth0", 6000, 60, "r")}}},
       10000,
       100},
      {"a reset seen at the reading when the counter went backwards",
       {{S::Read, {at(2, "eth0", 5000, 50, "r")}}, {S::Read, {at(2, "eth0", 300, 3, "r")}}},
       300,
       3},
      {"a failed reading is skipped and the baseline stays",
       {{S::Read, {at(2, "eth0", 50'000'000'000, 7, "r")}},
        {S::Read, {at(2, "eth0", 0, 0, "r?")}},
        {S::Read, {at(2, "eth0", 50'000'001'000, 9, "r")}}},
       1000,
       2},
      {"a failed first reading: the next good one is the baseline",
       {{S::Read, {at(2, "eth0", 0, 0, "r?")}},
        {S::Read, {at(2, "eth0", 50'000'000'000, 7, "r")}},
        {S::Read, {at(2, "eth0", 50'000'000'500, 8, "r")}}},
       500,
       1},
      {"a change that cannot be read keeps the baseline",
       {{S::Read, {at(2, "eth0", 100, 1, "r")}},
        {S::Changed, {at(2, "eth0", 0, 0, "?")}},
        {S::Read, {at(2, "eth0", 400, 4, "r")}}},
       300,
       3},
      {"a link made mid-run counts from its making, once a route goes through it",
       {{S::Read, {at(2, "eth0", 0, 0, "r")}},
        {S::Changed, {at(6, "usb0", 80, 8)}},
        {S::Read, {at(2, "eth0", 0, 0, "r"), at(6, "usb0", 1080, 18, "r")}}},
       1000,
       10},
      {"both paths of a multipath default",
       {{S::Read, {at(2, "eth0", 0, 0, "r"), at(3, "eth1", 0, 0, "r")}},
        {S::Read, {at(2, "eth0", 8'000'000, 8, "r"), at(3, "eth1", 8'000'000, 8, "r")}}},
       16'000'000,
       16},
      {"a link without a default route, or changing without one, is not counted",
       {{S::Read, {at(2, "eth0", 0, 0)}},
        {S::Changed, {at(2, "eth0", 100, 1)}},
        {S::Gone, {at(2, "eth0", 200, 2)}}},
       0,
       0},
  };
  for (const Case& c : cases) {
    VolumeCounter counter;
    counter.pin(c.pinned);
    for (std::size_t n = 0; n < c.steps.size(); ++n) {
      const Step& step = c.steps[n];
      if (step.what == Step::Read) {
        n == 0 ? counter.start(step.links) : counter.read(step.links);
      } else {
        for (const InterfaceReading& link : step.links) {
          step.what == Step::Gone ? counter.gone(link) : counter.changed(link);
        }
      }
    }
    EXPECT_EQ(counter.volume().received, c.received) << c.what;
    EXPECT_EQ(counter.volume().sent, c.sent) << c.what;
    EXPECT_EQ(counter.tunnelsOnly(), c.tunnelsOnly) << c.what;
  }
}

}  // namespace
}  // namespace tempodial

// The data volume of a run through the kernel's counters as the test lays
// them out in a folder: resets, interfaces that come and go, two default
// routes and none at all, and loopback never counted.
#include "platform/desktop/interface_counters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tempodial {
namespace {

struct Interface {
  const char* name;
  int index;
  std::uint64_t received, sent;
  const char* routes;  // "4", "6", "46": its default routes; "" for none
};
using Reading = std::vector<Interface>;

void write(const QString& path, const QByteArray& text) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text);
}

// Lays out the proc and sys folders as the kernel shows them: every interface
// has a route to its own network, loopback has IPv6's rejecting default route.
void layOut(const QString& root, const Reading& reading) {
  QDir(root + "/sys").removeRecursively();
  QByteArray v4 = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\n";
  const QByteArray anywhere = QByteArray(32, '0') + " 00 " + QByteArray(32, '0') + " 00 ";
  QByteArray v6 =
      anywhere + QByteArray(32, '0') + " ffffffff 00000001 00000000 00200200       lo\n";
  Reading all = reading;
  all.push_back({"lo", 1, 900000, 900000, "4"});
  for (const Interface& i : all) {
    const QByteArray name = i.name;
    v4 += name + "\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\n";
    if (QByteArray(i.routes).contains('4')) {
      v4 += name + "\t00000000\t010200C0\t0003\t0\t0\t100\t00000000\t0\n";
    }
    if (QByteArray(i.routes).contains('6')) {
      v6 += anywhere + "fd000000000000000000000000000001 00000400 00000002 00000000 00000003 " +
            name + "\n";
    }
    const QString dir = root + "/sys/class/net/" + i.name;
    write(dir + "/ifindex", QByteArray::number(i.index) + "\n");
    write(dir + "/flags", name == "lo" ? "0x9\n" : "0x1003\n");
    write(dir + "/statistics/rx_bytes", QByteArray::number(i.received) + "\n");
    write(dir + "/statistics/tx_bytes", QByteArray::number(i.sent) + "\n");
  }
  write(root + "/proc/net/route", v4);
  write(root + "/proc/net/ipv6_route", v6);
}

TEST(InterfaceCounters, RunTotalsFromTheKernelsCounters) {
  struct Case {
    const char* what;
    std::vector<Reading> readings;  // the first at the start
    std::int64_t received, sent;
  };
  const Case cases[] = {
      {"reset to 0 mid-run counts from 0 again",
       {{{"eth0", 2, 1000, 100, "4"}},
        {{"eth0", 2, 5000, 500, "4"}},
        {{"eth0", 2, 300, 30, "4"}},
        {{"eth0", 2, 800, 80, "4"}}},
       4800,
       480},
      {"a new interface under the same name, its counters already higher",
       {{{"wwan0", 3, 1000, 10, "6"}},
        {{"wwan0", 3, 2000, 20, "6"}},
        {{"wwan0", 9, 5000, 50, "6"}}},
       6000,
       60},
      {"an interface appears and another vanishes",
       {{{"eth0", 2, 100, 1, "4"}},
        {{"eth0", 2, 300, 3, "4"}, {"ppp0", 5, 700, 70, "4"}},
        {{"ppp0", 5, 900, 90, "4"}}},
       1100,
       92},
      {"two default routes, IPv4 and IPv6 on two interfaces",
       {{{"eth0", 2, 0, 0, "4"}, {"wlan0", 4, 50, 5, "46"}},
        {{"eth0", 2, 1000, 100, "4"}, {"wlan0", 4, 2050, 205, "46"}}},
       3000,
       300},
      {"no default route at all", {{{"eth0", 2, 0, 0, ""}}, {{"eth0", 2, 1000, 100, ""}}}, 0, 0},
      {"a route that comes counts from the reading before, one that goes until it went",
       {{{"eth0", 2, 0, 0, "4"}, {"eth1", 3, 10000, 100, ""}},
        {{"eth0", 2, 400, 4, "4"}, {"eth1", 3, 12000, 120, "4"}},
        {{"eth0", 2, 900, 9, ""}, {"eth1", 3, 12500, 125, "4"}},
        {{"eth0", 2, 9900, 99, ""}, {"eth1", 3, 12600, 126, "4"}}},
       400 + 500 + 2000 + 500 + 100,
       4 + 5 + 20 + 5 + 1},
      {"64-bit counters",
       {{{"eth0", 2, 5'000'000'000, 4'294'967'000, "4"}},
        {{"eth0", 2, 9'000'000'000, 4'294'968'000, "4"}}},
       4'000'000'000,
       1000},
  };
  for (const Case& c : cases) {
    QTemporaryDir root;
    VolumeCounter counter;
    for (std::size_t n = 0; n < c.readings.size(); ++n) {
      layOut(root.path(), c.readings[n]);
      const auto readings = readInterfaceCounters(root.path());
      ASSERT_EQ(readings.size(), c.readings[n].size()) << c.what;  // never loopback
      n == 0 ? counter.start(readings) : counter.read(readings);
    }
    EXPECT_EQ(counter.volume().received, c.received) << c.what;
    EXPECT_EQ(counter.volume().sent, c.sent) << c.what;
  }
  // A counter file that reads as nothing for one reading is skipped, its
  // baseline kept; a tunnel by its link type (ARPHRD_IPGRE) is not counted
  // beside a link that keeps its own default route.
  {
    QTemporaryDir root;
    VolumeCounter counter;
    layOut(root.path(), {{"eth0", 2, 50'000'000'000, 7, "4"}, {"gre1", 5, 0, 0, "4"}});
    write(root.path() + "/sys/class/net/gre1/type", "778\n");
    counter.start(readInterfaceCounters(root.path()));
    write(root.path() + "/sys/class/net/eth0/statistics/rx_bytes", "");
    counter.read(readInterfaceCounters(root.path()));
    layOut(root.path(), {{"eth0", 2, 50'000'001'000, 9, "4"}, {"gre1", 5, 900, 90, "4"}});
    write(root.path() + "/sys/class/net/gre1/type", "778\n");
    counter.read(readInterfaceCounters(root.path()));
    EXPECT_EQ(counter.volume().received, 1000);
    EXPECT_EQ(counter.volume().sent, 2);
  }
  // The folder of a system without these files counts nothing.
  QTemporaryDir empty;
  EXPECT_TRUE(readInterfaceCounters(empty.path()).empty());
}

TEST(InterfaceCounters, VolumesAreWrittenAsFileManagersWriteSizes) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, "0 B"},         {999, "999 B"},          {1000, "1.0 kB"},
      {1049, "1.0 kB"},   {1050, "1.1 kB"},        {999949, "999.9 kB"},
      {999950, "1.0 MB"}, {34'200'000, "34.2 MB"}, {2'000'000'000, "2.0 GB"},
      {-5, "0 B"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(volumeText(bytes), text) << bytes;
}

}  // namespace
}  // namespace tempodial

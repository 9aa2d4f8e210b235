// The links as rtnetlink tells them, in a network namespace of the test's
// own (skipped where none can be made): a veth with the default route whose
// packets leave with a known length, a tunnel beside it, and a hang-up whose
// last counters the volume keeps.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "platform/desktop/link_watch.h"
#include "platform/desktop/volume_meter.h"

namespace tempodial {
namespace {

// Every UDP packet of `payload` bytes leaves the veth as this many.
constexpr int kHeaders = 14 + 20 + 8;

bool shell(const std::string& command) { return std::system(command.c_str()) == 0; }

// Sends `count` packets of `payload` bytes through the default route; with
// the gateway's address fixed, none waits for an answer.
void send(int count, int payload) {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(9);
  inet_pton(AF_INET, "10.77.1.1", &to.sin_addr);
  const std::string bytes(static_cast<std::size_t>(payload), 'x');
  for (int n = 0; n < count; ++n) {
    ASSERT_EQ(
        sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to),
        payload);
  }
  close(fd);
}

class LinkWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (unshare(CLONE_NEWNET) != 0) GTEST_SKIP() << "no network namespace can be made here";
    ASSERT_TRUE(
        shell("sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1 &&"
              " ip link set lo up && ip link add tdv0 type veth peer name tdv1 &&"
              " ip addr add 10.77.0.1/24 dev tdv0 && ip link set tdv0 up && ip link set tdv1 up &&"
              " ip neigh add 10.77.0.2 lladdr 02:00:00:00:00:02 dev tdv0 &&"
              " ip route add default via 10.77.0.2 dev tdv0"));
    // What a new link sends of itself is sent before the test begins.
    usleep(200'000);
  }
  // Runs the event loop until `done` or a second has passed.
  template <typename Done>
  static void until(Done done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 1000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
  }
  int argc_ = 0;
  QCoreApplication app_{argc_, nullptr};
};

TEST_F(LinkWatchTest, TheDumpMarksTheDefaultRouteAndTellsTunnels) {
  const bool vxlan = shell("ip link add tdvx0 type vxlan id 7 dstport 4789 dev tdv0 2>/dev/null");
  const auto links = dumpLinks();
  ASSERT_TRUE(links.has_value());
  std::set<std::string> seen;
  for (const InterfaceReading& link : *links) {
    seen.insert(link.name + (link.carriesDefault ? "+r" : "") + (link.tunnel ? "+t" : ""));
    EXPECT_TRUE(link.known) << link.name;
    EXPECT_GT(link.index, 1) << link.name;  // loopback is left out
  }
  std::set<std::string> want{"tdv0+r", "tdv1"};
  if (vxlan) want.insert("tdvx0+t");
  EXPECT_EQ(seen, want);
  // A watch's changes taken without telling them: those of a dump's time.
  LinkWatch watch;
  int told = 0;
  watch.changed = [&told](const InterfaceReading&) { ++told; };
  ASSERT_TRUE(watch.open());
  ASSERT_TRUE(shell("ip link set tdv1 down"));
  const LinkMessages late = watch.take();
  EXPECT_TRUE(std::any_of(late.links.begin(), late.links.end(),
                          [](const InterfaceReading& link) { return link.name == "tdv1"; }));
  EXPECT_EQ(told, 0);
}

TEST_F(LinkWatchTest, AHangUpKeepsItsLastCountersAndARenameItsCount) {
  VolumeMeter meter;
  int told = 0;
  meter.changedBetweenReadings = [&told] { ++told; };
  meter.start();
  send(10, 1000);
  meter.read();
  EXPECT_EQ(meter.volume().sent, 10 * (1000 + kHeaders));
  // Renamed between readings: followed by its index.
  ASSERT_TRUE(
      shell("ip link set tdv0 down && ip link set tdv0 name tdwan0 && ip link set tdwan0"
            " up && ip neigh replace 10.77.0.2 lladdr 02:00:00:00:00:02 dev tdwan0 &&"
            " ip route add default via 10.77.0.2 dev tdwan0"));
  send(5, 500);
  meter.read();
  EXPECT_EQ(meter.volume().sent, 10 * (1000 + kHeaders) + 5 * (500 + kHeaders));
  // Deleted between readings: its last counters come with its removal.
  send(4, 200);
  told = 0;
  ASSERT_TRUE(shell("ip link del tdwan0"));
  until([&told] { return told > 0; });
  const qint64 all = 10 * (1000 + kHeaders) + 5 * (500 + kHeaders) + 4 * (200 + kHeaders);
  EXPECT_EQ(meter.volume().sent, all);
  meter.stop();
  EXPECT_EQ(meter.volume().sent, all);
  // Told once: at the change that brought the last counters, not at the
  // removal and the routes' going that brought nothing more.
  EXPECT_EQ(told, 1);
}

TEST_F(LinkWatchTest, PinnedNamesCountWhateverTheRoutes) {
  // The veth's other end has no route: what the first end sends, it receives.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  QDir().mkpath(config.path() + "/tempodial");
  QFile file(config.path() + "/tempodial/tempodial.conf");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[Volume]\ninterfaces=\" tdv1 , \"\n");
  file.close();
  VolumeMeter meter;
  meter.start();
  send(3, 100);
  meter.stop();
  qunsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(meter.volume().received, 3 * (100 + kHeaders));
  EXPECT_EQ(meter.volume().sent, 0);
  // After the stop nothing is followed any more.
  send(2, 100);
  ASSERT_TRUE(shell("ip link set tdv1 down"));
  until([] { return false; });
  EXPECT_EQ(meter.volume().received, 3 * (100 + kHeaders));
}

}  // namespace
}  // namespace tempodial

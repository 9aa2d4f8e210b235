// Every file of the set replaced in turn by something that is not a value
// document: start-up and every load keep their promises (defaults or their
// own messages) and nothing crashes or hangs.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstring>
#include <vector>

#include "platform/forms/controls.h"
#include "tests/windows/window_fixture.h"
#include "windows/cost/options_window.h"
#include "windows/main/main_window.h"
#include "windows/programs/launcher.h"
#include "windows/programs/locations_window.h"

namespace tempodial {
namespace {

enum class Bad { Garbage, Empty, Huge, Folder, Fifo, Device, Socket };

struct BadCase {
  const char* name;
  Bad kind;
};

const std::string_view kEveryFile[] = {
    files::kSeconds,    files::kMinutes,  files::kHours,       files::kCost,
    files::kShowCost,   files::kButtShow, files::kLocation1,   files::kLocation2,
    files::kLocation3,  files::kWeekday,  files::kWeekend,     files::kFriendsFamily,
    files::kCustom1,    files::kCustom2,  files::kCustomCost1, files::kCustomCost2,
    files::kLastTariff, files::kLastRate, files::kLastCurrency};

class BadFiles : public WindowTest, public testing::WithParamInterface<BadCase> {
 protected:
  void spoil(Place place, std::string_view name) {
    switch (GetParam().kind) {
      case Bad::Garbage:
        writeRaw(place, name, QByteArray("\x00\xff{\\rtf1 {{{ \\'zz", 16));
        break;
      case Bad::Empty:
        writeRaw(place, name, QByteArray());
        break;
      case Bad::Huge:
        writeRaw(place, name, QByteArray(10 * 1024 * 1024, 'x'));
        break;
      case Bad::Folder:
        QDir().mkpath(path(place, name));
        break;
      case Bad::Fifo:
        QDir().mkpath(runtime->places().folder(place));
        ASSERT_EQ(::mkfifo(QFile::encodeName(path(place, name)).constData(), 0600), 0);
        break;
      case Bad::Device:
        // A pseudo-terminal master, whose plain read waits for ever; made in
        // the test's own folder, never in /dev.
        QDir().mkpath(runtime->places().folder(place));
        if (::mknod(QFile::encodeName(path(place, name)).constData(), S_IFCHR | 0600,
                    makedev(5, 2)) != 0) {
          GTEST_SKIP() << "cannot make a device node here";
        }
        break;
      case Bad::Socket:
        QDir().mkpath(runtime->places().folder(place));
        bindSocket(path(place, name));
        break;
    }
  }
  void bindSocket(const QString& at) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockets.push_back(fd);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray where = QFile::encodeName(at);
    ASSERT_LT(where.size(), static_cast<qsizetype>(sizeof address.sun_path));
    std::memcpy(address.sun_path, where.constData(), static_cast<std::size_t>(where.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  }
  void TearDown() override {
    for (int fd : sockets) ::close(fd);
  }
  // Runs one load; with something that is no file in the way, expects it
  // back within a second.
  template <typename Load>
  void promptly(const char* what, Load load) {
    QElapsedTimer clock;
    clock.start();
    load();
    if (special()) {
      EXPECT_LT(clock.elapsed(), 1000) << what;
    }
  }
  bool special() const { return GetParam().kind >= Bad::Folder; }
  std::vector<int> sockets;
};

TEST_P(BadFiles, StartUpAndEveryLoadFallBackToDefaultsOrTheirMessages) {
  // A load that waits on a FIFO or a device would never come back: fail
  // instead of hanging the run.
  alarm(60);
  for (std::string_view name : kEveryFile) {
    spoil(Place::Data, name);
    spoil(Place::Windows, name);
    if (IsSkipped()) return;
  }
  promptly("start-up", [&] { startMain(); });
  promptly("tariff files", [&] { selectRateTick(); });
  // Unreadable tariff files count as missing, so the defaults stand.
  EXPECT_EQ(options().Combo1->text(), "Weekday");
  EXPECT_EQ(options().combo1ass->text(), "1.4");
  EXPECT_EQ(options().Combo2->text(), "£");
  EXPECT_EQ(main().Label4->caption(), "£");
  EXPECT_EQ(session->clock().cost(), "0");
  // Presence is all an option file needs; a folder, a FIFO, a device or a
  // socket of that name is no file.
  const bool optionsOn = !special();
  EXPECT_EQ(main().Check1->value(), optionsOn ? 1 : 0);
  EXPECT_EQ(options().Check1->value(), optionsOn ? 1 : 0);

  services.messages.clear();
  promptly("TimeLog button load", [&] { main().SSCommand4->click(); });
  promptly("TimeLog menu load", [&] { main().prev->trigger(); });
  EXPECT_EQ(session->clock().seconds() + session->clock().minutes() + session->clock().hours(),
            "000");
  if (special()) {
    EXPECT_TRUE(services.messages.isEmpty()) << "only an ordinary file is a TimeLog file";
  } else {
    ASSERT_EQ(services.messages.size(), 6) << "each unreadable TimeLog file is named once";
    EXPECT_TRUE(services.messages[0].contains(path(Place::Data, files::kSeconds)));
  }

  services.messages.clear();
  promptly("CostLog button load", [&] { main().SSCommand8->click(); });
  promptly("CostLog menu load", [&] { main().box->trigger(); });
  EXPECT_EQ(services.messages, (QStringList{"No such file, or other error",
                                            "There was an error on loading, so aborted"}));
  EXPECT_EQ(session->clock().cost(), "0");

  services.messages.clear();
  promptly("location files", [&] {
    for (int row = 1; row <= 3; ++row) launchProgram(*runtime, row);
  });
  EXPECT_EQ(services.messages, QStringList(3, "Ye Gods that didn't work"));
  EXPECT_TRUE(services.starts.empty());
  auto& locations = runtime->form<LocationsWindow>();
  for (int row = 1; row <= 3; ++row) EXPECT_EQ(locations.box(row)->text(), "");
  alarm(0);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BadFiles,
    testing::Values(BadCase{"Garbage", Bad::Garbage}, BadCase{"Empty", Bad::Empty},
                    BadCase{"TenMegabytes", Bad::Huge}, BadCase{"FolderOfTheSameName", Bad::Folder},
                    BadCase{"Fifo", Bad::Fifo}, BadCase{"DeviceNode", Bad::Device},
                    BadCase{"Socket", Bad::Socket}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, DocumentFromAnotherRtfWriterLoadsItsText) {
  writeRaw(Place::Data, files::kSeconds,
           "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
           "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
           "\\pard\\f0\\fs20\\lang2057 42\\par\r\n}\r\n");
  writeRaw(Place::Data, files::kLastCurrency,
           "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\uc1\\u163?\\par}");
  startMain();
  main().SSCommand4->click();
  EXPECT_EQ(session->clock().seconds(), "42");
  EXPECT_EQ(main().SSPanel2->caption(), "£: Pounds");
}

}  // namespace
}  // namespace tempodial

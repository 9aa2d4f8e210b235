// The data directory on a full file system: every save says which file could
// not be written, no success text appears, and the old files stay whole.
#include <sys/mount.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>

#include "platform/forms/controls.h"
#include "tests/windows/window_fixture.h"
#include "windows/cost/options_window.h"
#include "windows/main/main_window.h"
#include "windows/start_and_exit/exit_window.h"

namespace tempodial {
namespace {

class FullDataDirectory : public WindowTest {
 protected:
  void SetUp() override {
    folder = path(Place::Data, "x").section(QLatin1Char('/'), 0, -2);
    if (geteuid() != 0 ||
        mount("tmpfs", folder.toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0) {
      GTEST_SKIP() << "a small tmpfs cannot be mounted here";
    }
    mounted = true;
    startMain();
    session->clock().setCounter(clock::Counter::Seconds, QStringLiteral("7"));
    main().SSCommand3->click();
    session->clock().setCost(QStringLiteral("0.5"));
    main().SSCommand7->click();
    oldSeconds = readRaw(Place::Data, files::kSeconds);
    oldCost = readRaw(Place::Data, files::kCost);
    QFile filler(folder + QStringLiteral("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    services.messages.clear();
    main().setStatus(QStringLiteral("before"));
  }
  void TearDown() override {
    runtime.reset();
    if (mounted) umount(folder.toLocal8Bit().constData());
  }
  void expectOldFilesWhole() {
    EXPECT_EQ(readRaw(Place::Data, files::kSeconds), oldSeconds);
    EXPECT_EQ(readRaw(Place::Data, files::kCost), oldCost);
  }

  QString folder;
  bool mounted = false;
  QByteArray oldSeconds;
  QByteArray oldCost;
};

TEST_F(FullDataDirectory, TimeLogAndCostLogSavesReportAndShowNoSuccess) {
  session->clock().setCounter(clock::Counter::Seconds, QString(3000, QLatin1Char('9')));
  session->clock().setCost(QString(3000, QLatin1Char('8')));
  main().SSCommand3->click();
  main().SSCommand7->click();
  ASSERT_EQ(services.messages.size(), 2);
  EXPECT_TRUE(services.messages[0].contains(path(Place::Data, files::kSeconds)));
  EXPECT_TRUE(services.messages[0].contains("No space left on device"));
  EXPECT_TRUE(services.messages[1].contains(path(Place::Data, files::kCost)));
  EXPECT_EQ(main().SSPanel1->caption(), "before");
  expectOldFilesWhole();
}

TEST_F(FullDataDirectory, RoomForOneTimeLogFileChangesNoneOfTheThree) {
  const QByteArray oldMinutes = readRaw(Place::Data, files::kMinutes);
  const QByteArray oldHours = readRaw(Place::Data, files::kHours);
  QFile filler(folder + QStringLiteral("/filler"));
  ASSERT_TRUE(filler.resize(filler.size() - 4096));  // one page free: one document fits
  session->clock().setCounter(clock::Counter::Seconds, QString(3000, QLatin1Char('9')));
  session->clock().setCounter(clock::Counter::Minutes, QString(3000, QLatin1Char('8')));
  session->clock().setCounter(clock::Counter::Hours, QString(3000, QLatin1Char('7')));
  main().SSCommand3->click();
  EXPECT_EQ(services.messages, QStringList{"Could not save " + path(Place::Data, files::kMinutes) +
                                           ": No space left on device"});
  EXPECT_EQ(main().SSPanel1->caption(), "before");
  expectOldFilesWhole();
  EXPECT_EQ(readRaw(Place::Data, files::kMinutes), oldMinutes);
  EXPECT_EQ(readRaw(Place::Data, files::kHours), oldHours);
  QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
  left.sort();
  EXPECT_EQ(left, (QStringList{"cost.tme", "filler", "hours.tme", "minutes.tme", "seconds.tme"}));
}

TEST_F(FullDataDirectory, ExitAndSaveKeepsTheProgramRunning) {
  session->clock().setCounter(clock::Counter::Seconds, QString(3000, QLatin1Char('9')));
  services.answerModal(QString::fromLatin1(ExitWindow::kName),
                       [](Form& form) { static_cast<ExitWindow&>(form).Command1->click(); });
  main().Command3->click();
  EXPECT_EQ(services.ends, 0);
  EXPECT_FALSE(services.messages.contains("Ok, program now ends"));
  expectOldFilesWhole();
}

}  // namespace
}  // namespace tempodial

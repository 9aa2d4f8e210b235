// Start-up as the user meets it: the splash window, the data directory and the
// state the main window opens with, over several starts on the same files.
#include <sys/mount.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>

#include "core/files/save_unit.h"
#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "tests/windows/window_fixture.h"
#include "windows/cost/options_window.h"
#include "windows/main/forms.h"
#include "windows/main/main_window.h"
#include "windows/programs/button_bar.h"
#include "windows/programs/button_bar_question.h"
#include "windows/start_and_exit/splash_window.h"

namespace tempodial {
namespace {

const QString kWelcome = QStringLiteral("Hello, Welcome to the Tempodial");

// Makes a folder and its files read-only for as long as it lives: a
// read-only bind mount for root (whom permissions do not stop), the
// permission bits for anyone else.
class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(const QString& folder) : folder_(folder.toLocal8Bit()) {
    if (geteuid() == 0) {
      mounted_ = mount(folder_.constData(), folder_.constData(), nullptr, MS_BIND, nullptr) == 0;
      if (mounted_ && mount(nullptr, folder_.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                            nullptr) != 0) {
        umount(folder_.constData());
        mounted_ = false;
      }
      ok_ = mounted_;
    } else {
      for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
        QFile::setPermissions(file.filePath(), QFile::ReadOwner);
      }
      ok_ = QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    }
  }
  ~ReadOnlyFolder() {
    if (mounted_) {
      umount(folder_.constData());
    } else {
      QFile::setPermissions(QString::fromLocal8Bit(folder_),
                            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
  }
  bool ok() const { return ok_; }

 private:
  QByteArray folder_;
  bool mounted_ = false;
  bool ok_ = false;
};

class StartupTest : public WindowTest {
 protected:
  // One start of the program: the splash window's load, then its first tick.
  MainWindow& startProgram() {
    auto& splash = runtime->form<SplashWindow>();
    splash.show();
    splash.Timer1->elapse();
    return main();
  }
  // Ends this run and starts the program afresh on the same files.
  MainWindow& restartProgram() {
    remake();
    return startProgram();
  }
  bool barShowing() const {
    Form* bar = runtime->loadedForm(ButtonBar::kName);
    return bar != nullptr && bar->isVisible();
  }
};

TEST_F(StartupTest, FirstRunCreatesAnEmptyDataDirectoryAndOpensShortWithDefaults) {
  QDir(runtime->places().root()).removeRecursively();
  auto& splash = runtime->form<SplashWindow>();
  const QDir data(runtime->places().folder(Place::Data));
  EXPECT_TRUE(data.exists());
  EXPECT_TRUE(data.isEmpty());
  EXPECT_FALSE(runtime->isLoaded(MainWindow::kName));

  splash.Timer1->elapse();
  EXPECT_FALSE(runtime->isLoaded(SplashWindow::kName));
  EXPECT_TRUE(main().isVisible());
  EXPECT_EQ(main().SSPanel1->caption(), kWelcome);
  EXPECT_EQ(main().heightTwips(), MainWindow::kShortTwips);
  EXPECT_TRUE(main().shownow->isVisible() && main().showstart->isVisible());
  EXPECT_FALSE(main().hidenow->isVisible() || main().hidestart->isVisible());
  EXPECT_FALSE(barShowing());
  EXPECT_EQ(options().Combo1->text(), "Weekday");
  EXPECT_EQ(options().combo1ass->text(), "1.4");
  EXPECT_EQ(options().Combo2->text(), "£");
  EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(StartupTest, SplashLoadedAgainHandsOverOnlyBeforeMainTimerAndNeverShows) {
  startProgram();
  main().Timer3->elapse();
  auto& borrowed = runtime->form<SplashWindow>();  // as when its picture is borrowed
  main().Timer3->elapse();
  borrowed.Timer1->elapse();
  EXPECT_TRUE(runtime->isLoaded(SplashWindow::kName));
  EXPECT_FALSE(borrowed.isVisible());

  runtime->unload(SplashWindow::kName);
  runtime->form<SplashWindow>().Timer1->elapse();  // before Timer3 ticks again
  EXPECT_FALSE(runtime->isLoaded(SplashWindow::kName));
  EXPECT_TRUE(main().isVisible());
}

TEST_F(StartupTest, DataDirectoryThatCannotBeCreatedIsReportedAndWritesReportTheirOwn) {
  blockPlace(Place::Data);
  auto& shown = startProgram();
  ASSERT_EQ(services.messages.size(), 1);
  EXPECT_TRUE(services.messages[0].startsWith("Could not create the folder " +
                                              runtime->places().folder(Place::Data) + ": "))
      << services.messages[0].toStdString();
  EXPECT_TRUE(shown.isVisible());
  EXPECT_EQ(shown.SSPanel1->caption(), kWelcome);

  shown.SSCommand3->click();  // save the TimeLog
  ASSERT_EQ(services.messages.size(), 2);
  EXPECT_TRUE(services.messages[1].startsWith("Could not save "))
      << services.messages[1].toStdString();
  EXPECT_EQ(shown.SSPanel1->caption(), kWelcome);
}

TEST_F(StartupTest, InterruptedSavesAreCompletedAndOnlyTheirTemporariesRemoved) {
  // In the data directory a TimeLog save was killed after seconds.tme was
  // renamed into place: its record and two staged documents are left.
  writeValue(Place::Data, files::kSeconds, "9");
  writeValue(Place::Data, files::kMinutes, "8");
  writeValue(Place::Data, files::kHours, "7");
  writeValue(Place::Data, std::string(files::kMinutes) + ".staged", "30");
  writeValue(Place::Data, std::string(files::kHours) + ".staged", "2");
  writeRaw(
      Place::Data, kUnitRecordName,
      QByteArray::fromStdString(writeUnitRecord({path(Place::Data, files::kSeconds).toStdString(),
                                                 path(Place::Data, files::kMinutes).toStdString(),
                                                 path(Place::Data, files::kHours).toStdString()})));
  // In the Windows directory a save was killed before its record was
  // committed: the old TimeLog stands.
  writeValue(Place::Windows, files::kSeconds, "5");
  writeValue(Place::Windows, std::string(files::kSeconds) + ".staged", "55");
  // Temporaries of single saves, and the user's own files that look alike.
  // (Names are lower case on disk, as the program writes them.)
  const QStringList leftovers = {"cost.tme.ab12cd", "weekday.cst.zz9yy8", "timelog.roll.qw12er"};
  const QStringList kept = {"notes.txt", "seconds.tme.bak", "cost.tme.ab12cde", "notes.txt.ab12cd"};
  for (Place place : {Place::Windows, Place::Data}) {
    for (const QString& name : leftovers + kept) writeRaw(place, name.toStdString(), "x");
  }
  QDir().mkpath(path(Place::Data, "hours.tme.ab12cd"));  // a folder is never a temporary

  startProgram();
  main().SSCommand4->click();
  EXPECT_EQ(session->clock().hours() + ":" + session->clock().minutes() + ":" +
                session->clock().seconds(),
            "2:30:9");
  main().prev->trigger();
  EXPECT_EQ(session->clock().seconds(), "5");
  EXPECT_TRUE(services.messages.isEmpty());

  QStringList dataLeft = QDir(runtime->places().folder(Place::Data))
                             .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  dataLeft.sort();
  QStringList expectedData =
      kept + QStringList{"hours.tme", "minutes.tme", "seconds.tme", "hours.tme.ab12cd"};
  expectedData.sort();
  EXPECT_EQ(dataLeft.join(' ').toStdString(), expectedData.join(' ').toStdString());
  QStringList windowsLeft = QDir(runtime->places().root())
                                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  windowsLeft.sort();
  QStringList expectedWindows = kept + QStringList{"seconds.tme", "wex"};
  expectedWindows.sort();
  EXPECT_EQ(windowsLeft.join(' ').toStdString(), expectedWindows.join(' ').toStdString());
}

TEST_F(StartupTest, EmptyButtShowShowsBarAndTicksStartWithBar) {
  writeRaw(Place::Data, files::kButtShow, "");
  startProgram();
  EXPECT_TRUE(barShowing());
  EXPECT_EQ(options().Check1->value(), 1);
}

TEST_F(StartupTest, ShowCostOpensTallWithOnlyTheHideEntries) {
  writeRaw(Place::Data, files::kShowCost, "anything");
  startProgram();
  EXPECT_EQ(main().heightTwips(), MainWindow::kTallTwips);
  EXPECT_EQ(main().Check1->value(), 1);
  EXPECT_TRUE(main().hidenow->isVisible() && main().hidestart->isVisible());
  EXPECT_FALSE(main().shownow->isVisible() || main().showstart->isVisible());
}

TEST_F(StartupTest, ShowCostInWindowsDirectoryIsCarriedOverAtEveryStart) {
  writeValue(Place::Windows, files::kShowCost, "0");
  startProgram();
  EXPECT_TRUE(exists(Place::Data, files::kShowCost));
  main().hidestart->trigger();
  ASSERT_FALSE(exists(Place::Data, files::kShowCost));
  restartProgram();
  EXPECT_TRUE(exists(Place::Data, files::kShowCost));
  EXPECT_EQ(main().heightTwips(), MainWindow::kTallTwips);
}

TEST_F(StartupTest, ButtShowInWindowsDirectoryBringsBarBackUntilMenuItemHidesIt) {
  writeValue(Place::Windows, files::kButtShow, "0");
  startProgram();
  ASSERT_TRUE(barShowing());
  main().Command1->click();
  options().Check1->setValue(0);
  ASSERT_FALSE(barShowing());
  restartProgram();
  EXPECT_TRUE(barShowing());

  runtime->form<ButtonBar>().close();
  runtime->form<ButtonBarQuestion>().Command2->click();  // "No"
  restartProgram();
  EXPECT_TRUE(barShowing());

  main().but->trigger();
  EXPECT_FALSE(barShowing());
  EXPECT_FALSE(exists(Place::Windows, files::kButtShow));
  restartProgram();
  EXPECT_TRUE(barShowing());  // the data directory's file is still there
  main().Command1->click();
  restartProgram();
  EXPECT_FALSE(barShowing());
}

TEST_F(StartupTest, ReadOnlyOptionFilesAreReportedButKeptWithTheirOptionsOn) {
  // Both options on in a read-only data directory; the Windows directory's
  // showcost.opt makes the start rewrite that one too.
  writeValue(Place::Data, files::kButtShow, "0");
  writeValue(Place::Data, files::kShowCost, "0");
  writeValue(Place::Windows, files::kShowCost, "0");
  ReadOnlyFolder readOnly(runtime->places().folder(Place::Data));
  if (!readOnly.ok()) GTEST_SKIP() << "the data directory cannot be made read-only here";
  for (int start = 0; start < 2; ++start) {
    SCOPED_TRACE(start == 0 ? "first start" : "next start");
    services.messages.clear();
    if (start == 0) {
      startProgram();
    } else {
      restartProgram();
    }
    ASSERT_EQ(services.messages.size(), 2) << services.messages.join(" | ").toStdString();
    for (const QString& message : services.messages) {
      EXPECT_TRUE(message.startsWith("Could not save ")) << message.toStdString();
    }
    EXPECT_TRUE(services.messages.join(' ').contains("buttshow.opt"));
    EXPECT_TRUE(services.messages.join(' ').contains("showcost.opt"));
    EXPECT_TRUE(exists(Place::Data, files::kButtShow));
    EXPECT_TRUE(exists(Place::Data, files::kShowCost));
    EXPECT_TRUE(barShowing());
    EXPECT_EQ(options().Check1->value(), 1);
    EXPECT_EQ(options().Check2->value(), 1);
    EXPECT_EQ(main().heightTwips(), MainWindow::kTallTwips);
    EXPECT_TRUE(main().hidestart->isVisible());
    EXPECT_FALSE(main().showstart->isVisible());
  }

  // Clearing the boxes cannot delete the files: both stay ticked, and the bar
  // stays as it is.
  services.messages.clear();
  options().Check1->setValue(0);
  options().Check2->setValue(0);
  EXPECT_EQ(services.messages.size(), 2);
  EXPECT_EQ(options().Check1->value(), 1);
  EXPECT_EQ(options().Check2->value(), 1);
  EXPECT_TRUE(exists(Place::Data, files::kButtShow));
  EXPECT_TRUE(main().hidestart->isVisible());
  EXPECT_FALSE(main().showstart->isVisible());
}

}  // namespace
}  // namespace tempodial

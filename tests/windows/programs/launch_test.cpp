// Launching the user's programs: the command stored for a row is split into
// words and started directly, never through a shell, and every failure gives
// the one message.
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include "platform/forms/controls.h"
#include "tests/windows/window_fixture.h"
#include "windows/programs/launcher.h"
#include "windows/programs/locations_window.h"

namespace tempodial {
namespace {

const QString kFailure = QStringLiteral("Ye Gods that didn't work");

class LaunchTest : public WindowTest {
 protected:
  void store(int row, const QString& command) {
    writeValue(Place::Data, LocationsWindow::locationFile(row), command);
  }
  // A script that writes its arguments after the first, one a line, to the
  // file named by its first.
  QString markerScript() {
    const QString script = scratch.filePath("marker.sh");
    QFile file(script);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "#!/bin/sh\nout=\"$1\"\nshift\nprintf '%s\\n' \"$@\" > \"$out.part\" && "
        "mv \"$out.part\" \"$out\"\n");
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return script;
  }
  // Waits a few seconds at most for a started program to write `path`.
  static bool appears(const QString& path) {
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(path) && clock.elapsed() < 5000) QThread::msleep(20);
    return QFileInfo::exists(path);
  }
  QTemporaryDir scratch;
};

TEST_F(LaunchTest, EveryKindOfBadLocationGivesTheOneMessage) {
  const QString notRun = scratch.filePath("not-run");
  const QStringList commands = {"", "   ", "'/usr/bin/true", scratch.filePath("missing"),
                                "true; touch " + notRun};
  launchProgram(*runtime, 1);  // no file at all
  for (const QString& command : commands) {
    store(1, command);
    launchProgram(*runtime, 1);
  }
  EXPECT_EQ(services.messages, QStringList(commands.size() + 1, kFailure));
  EXPECT_TRUE(services.starts.empty());
  EXPECT_FALSE(QFileInfo::exists(notRun));
}

TEST_F(LaunchTest, RelativePathsAreRefusedWhereverTheProgramWasStartedAndBareNamesUsePath) {
  // Programs that a relative path would find from the folder the program
  // happens to have been started in.
  const QString script = markerScript();
  QDir(scratch.path()).mkpath("bin");
  ASSERT_TRUE(QFile::copy(script, scratch.filePath("bin/netscape")));
  ASSERT_TRUE(QFile::copy(script, scratch.filePath("x")));
  const QString startedIn = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(scratch.path()));
  const QStringList relative = {"bin/netscape", "./x",
                                "../" + QFileInfo(scratch.path()).fileName() + "/x"};
  for (const QString& command : relative) {
    store(1, command + " " + scratch.filePath("unused"));
    launchProgram(*runtime, 1);
  }
  store(2, "true bare");  // a bare name is still looked up on PATH
  launchProgram(*runtime, 2);
  store(3, "'" + scratch.filePath("x") + "' " + scratch.filePath("unused"));  // absolute
  launchProgram(*runtime, 3);
  QDir::setCurrent(startedIn);

  EXPECT_EQ(services.messages, QStringList(relative.size(), kFailure));
  ASSERT_EQ(services.starts.size(), 2u);
  EXPECT_EQ(services.starts[0].program, "true");
  EXPECT_EQ(services.starts[1].program, scratch.filePath("x"));
}

TEST_F(LaunchTest, StoredCommandStartsWithLiteralWordsAndNoShell) {
  services.performStarts = true;
  const QString marker = scratch.filePath("marker");
  const QString substituted = scratch.filePath("substituted");
  const QString chained = scratch.filePath("chained");
  store(2, "'" + markerScript() + "' " + marker + " \"$(touch " + substituted +
               ")\" 'two words' $HOME ; touch " + chained);
  launchProgram(*runtime, 2);
  ASSERT_TRUE(appears(marker)) << services.messages.join("; ").toStdString();
  QFile written(marker);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(written.readAll()),
            "$(touch " + substituted + ")\ntwo words\n$HOME\n;\ntouch\n" + chained + "\n");
  EXPECT_FALSE(QFileInfo::exists(substituted));
  EXPECT_FALSE(QFileInfo::exists(chained));
  EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(LaunchTest, LaunchingTwiceStartsTwiceAndLeavesLocationsHidden) {
  store(3, "'" + markerScript() + "' " + scratch.filePath("unused"));
  launchProgram(*runtime, 3);
  launchProgram(*runtime, 3);
  EXPECT_EQ(services.starts.size(), 2u);
  EXPECT_TRUE(runtime->isLoaded(LocationsWindow::kName));
  EXPECT_FALSE(runtime->form<LocationsWindow>().isVisible());
}

TEST_F(LaunchTest, CommandSetInLocationsIsLaunchedNextAndAFailedReadKeepsIt) {
  store(1, "true old");
  launchProgram(*runtime, 1);
  auto& window = runtime->form<LocationsWindow>();
  window.show();
  window.RichTextBox1->setText("true new");
  window.Command1->click();
  launchProgram(*runtime, 1);
  ASSERT_EQ(services.starts.size(), 2u);
  EXPECT_EQ(services.starts[0].arguments, QStringList{"old"});
  EXPECT_EQ(services.starts[1].arguments, QStringList{"new"});

  QFile::remove(path(Place::Data, files::kLocation1));
  launchProgram(*runtime, 1);
  EXPECT_EQ(services.messages.last(), kFailure);
  EXPECT_EQ(runtime->form<LocationsWindow>().RichTextBox1->text(), "true new");
}

}  // namespace
}  // namespace tempodial

// The TimeLog and the CostLog: each operation at its own place, exact files,
// and failures that never pass for success.
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <tuple>

#include "core/files/save_unit.h"
#include "core/values/value_document.h"
#include "platform/forms/controls.h"
#include "tests/windows/window_fixture.h"
#include "windows/cost/options_window.h"
#include "windows/main/main_window.h"
#include "windows/start_and_exit/exit_window.h"

namespace tempodial {
namespace {

class LogTest : public WindowTest {
 protected:
  void SetUp() override { startMain(); }
  void setClock(const char* h, const char* m, const char* s) {
    session->clock().setCounter(clock::Counter::Hours, QString::fromLatin1(h));
    session->clock().setCounter(clock::Counter::Minutes, QString::fromLatin1(m));
    session->clock().setCounter(clock::Counter::Seconds, QString::fromLatin1(s));
  }
  QString shown() {
    return session->clock().hours() + ":" + session->clock().minutes() + ":" +
           session->clock().seconds();
  }
  static QByteArray clockDocument(const char* text) {
    return QByteArray::fromStdString(writeValueDocument(text, kClockBoxFont));
  }
};

TEST_F(LogTest, ButtonSaveWritesExactDocumentsToTheDataDirectory) {
  setClock("2", "5", "9");
  main().SSCommand3->click();
  EXPECT_EQ(readRaw(Place::Data, files::kSeconds), clockDocument("9"));
  EXPECT_EQ(readRaw(Place::Data, files::kMinutes), clockDocument("5"));
  EXPECT_EQ(readRaw(Place::Data, files::kHours),
            "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\fnil"
            "\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2 System;}{\\f3\\fswiss Arial;}{\\f4\\fnil "
            "Arial;}}\r\n{\\colortbl\\red0\\green0\\blue0;}\r\n\\deflang2057\\pard\\plain\\f3"
            "\\fs18 2\r\n\\par }\r\n");
  EXPECT_EQ(main().SSPanel1->caption(), "The TimeLog has been saved");
  EXPECT_FALSE(exists(Place::Windows, files::kSeconds));
}

TEST_F(LogTest, ButtonSaveThenMenuLoadReadsTheOtherPlace) {
  setClock("1", "2", "3");
  main().SSCommand3->click();
  writeValue(Place::Windows, files::kSeconds, "40");
  main().prev->trigger();
  EXPECT_EQ(shown(), "1:2:40");
  main().SSCommand4->click();
  EXPECT_EQ(shown(), "1:2:3");
  EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(LogTest, MakeABlankThenMenuLoadGivesZerosAndLeavesTheClockAlone) {
  setClock("4", "5", "6");
  main().SSCommand3->click();
  main().blank->trigger();
  EXPECT_EQ(shown(), "4:5:6");
  EXPECT_EQ(readRaw(Place::Windows, files::kHours), clockDocument("0"));
  main().prev->trigger();
  EXPECT_EQ(shown(), "0:0:0");
  main().SSCommand4->click();
  EXPECT_EQ(shown(), "4:5:6");
}

TEST_F(LogTest, LoadingOnlyMinutesLeavesTheOtherCountersAndMissingFilesSayNothing) {
  setClock("7", "8", "9");
  main().SSCommand4->click();
  EXPECT_EQ(shown(), "7:8:9");
  writeValue(Place::Data, files::kMinutes, "30");
  main().SSCommand4->click();
  EXPECT_EQ(shown(), "7:30:9");
  EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(LogTest, LoadedSixtySecondsCarryAndChargeAtOnce) {
  options().combo1ass->setText(QStringLiteral("1.4"));
  writeValue(Place::Data, files::kSeconds, "60");
  main().SSCommand4->click();
  EXPECT_EQ(shown(), "0:1:0");
  EXPECT_EQ(session->clock().cost(), "0.014");
}

TEST_F(LogTest, UnreadableTimeLogFileIsNamedAndItsBoxKept) {
  setClock("1", "1", "1");
  writeRaw(Place::Data, files::kSeconds, "not a document");
  writeValue(Place::Data, files::kMinutes, "22");
  main().SSCommand4->click();
  EXPECT_EQ(shown(), "1:22:1");
  ASSERT_EQ(services.messages.size(), 1);
  EXPECT_TRUE(services.messages[0].contains(path(Place::Data, files::kSeconds)));
}

// A TimeLog file that cannot even be looked up (here a loop of links) is no
// missing file: its load says why.
TEST_F(LogTest, TimeLogFileThatCannotBeLookedUpIsNamed) {
  setClock("1", "1", "1");
  writeValue(Place::Data, files::kMinutes, "22");
  const QString seconds = path(Place::Data, files::kSeconds);
  ASSERT_TRUE(QFile::link(seconds, seconds));
  main().SSCommand4->click();
  EXPECT_EQ(shown(), "1:22:1");
  EXPECT_EQ(services.messages,
            QStringList{"Could not read " + seconds + ": Too many levels of symbolic links"});
}

TEST_F(LogTest, FailedSaveShowsNoSuccessAndLeavesLaterFilesByteForByte) {
  writeValue(Place::Data, files::kMinutes, "11");
  writeValue(Place::Data, files::kHours, "12");
  const QByteArray oldHours = readRaw(Place::Data, files::kHours);
  QDir().mkpath(path(Place::Data, files::kSeconds));  // a folder where the file belongs
  setClock("3", "3", "3");
  main().SSCommand3->click();
  ASSERT_EQ(services.messages.size(), 1);
  EXPECT_TRUE(services.messages[0].contains(path(Place::Data, files::kSeconds)));
  EXPECT_NE(main().SSPanel1->caption(), "The TimeLog has been saved");
  EXPECT_EQ(readRaw(Place::Data, files::kHours), oldHours);
  EXPECT_EQ(readText(Place::Data, files::kMinutes), "11");
}

// Each of the three files blocked in turn, for each way the TimeLog is saved:
// the blocked file is named with its reason, and none of the three changes.
enum class Blocker { Folder, LinkToFifo, LinkToFolder, ReadOnly };
enum class Saver { Button, Menu, Blank, Exit };

const char* blockerName(Blocker blocker) {
  switch (blocker) {
    case Blocker::Folder:
      return "Folder";
    case Blocker::LinkToFifo:
      return "LinkToFifo";
    case Blocker::LinkToFolder:
      return "LinkToFolder";
    case Blocker::ReadOnly:
      return "ReadOnly";
  }
  return "";
}
const char* saverName(Saver saver) {
  const char* names[] = {"Button", "Menu", "MakeABlank", "Exit"};
  return names[static_cast<int>(saver)];
}

using BlockedCase = std::tuple<std::string_view, Blocker, Saver>;

class BlockedTimeLog : public LogTest, public testing::WithParamInterface<BlockedCase> {
 protected:
  std::string_view blocked() const { return std::get<0>(GetParam()); }
  Blocker blocker() const { return std::get<1>(GetParam()); }
  Saver saver() const { return std::get<2>(GetParam()); }
  Place place() const {
    return saver() == Saver::Menu || saver() == Saver::Blank ? Place::Windows : Place::Data;
  }
  // Puts the blocker where the file belongs; returns the reason expected.
  QString block() {
    const QString at = path(place(), blocked());
    const QByteArray where = QFile::encodeName(at);
    const QString target = home.filePath(QStringLiteral("target"));
    switch (blocker()) {
      case Blocker::Folder:
        QFile::remove(at);
        EXPECT_TRUE(QDir().mkpath(at));
        return QStringLiteral("Is a directory");
      case Blocker::LinkToFifo:
        EXPECT_EQ(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        QFile::remove(at);
        EXPECT_TRUE(QFile::link(target, at));
        return QStringLiteral("not an ordinary file");
      case Blocker::LinkToFolder:
        EXPECT_TRUE(QDir().mkpath(target));
        QFile::remove(at);
        EXPECT_TRUE(QFile::link(target, at));
        return QStringLiteral("not an ordinary file");
      case Blocker::ReadOnly:
        EXPECT_EQ(::chmod(where.constData(), 0444), 0);
        return QStringLiteral("Permission denied");
    }
    return {};
  }
  void save() {
    switch (saver()) {
      case Saver::Button:
        main().SSCommand3->click();
        break;
      case Saver::Menu:
        main().save->trigger();
        break;
      case Saver::Blank:
        main().blank->trigger();
        break;
      case Saver::Exit:
        services.answerModal(QString::fromLatin1(ExitWindow::kName),
                             [](Form& form) { static_cast<ExitWindow&>(form).Command1->click(); });
        main().Command3->click();
        break;
    }
  }
};

TEST_P(BlockedTimeLog, NoneOfTheThreeFilesChangesAndTheBlockedOneIsNamed) {
  if (blocker() == Blocker::ReadOnly && geteuid() == 0) {
    GTEST_SKIP() << "root writes read-only files";
  }
  const std::string_view names[] = {files::kSeconds, files::kMinutes, files::kHours};
  const char* olds[] = {"11", "12", "13"};
  for (int i = 0; i < 3; ++i) writeValue(place(), names[i], QString::fromLatin1(olds[i]));
  const QString reason = block();
  setClock("2", "30", "40");
  main().setStatus(QStringLiteral("before"));
  save();

  ASSERT_EQ(services.messages.size(), 1);
  EXPECT_EQ(services.messages[0],
            QStringLiteral("Could not save %1: %2").arg(path(place(), blocked()), reason));
  for (int i = 0; i < 3; ++i) {
    if (names[i] == blocked()) continue;
    EXPECT_EQ(readRaw(place(), names[i]), clockDocument(olds[i])) << names[i];
  }
  const QFileInfo blockedInfo(path(place(), blocked()));
  EXPECT_EQ(blockedInfo.isSymLink(),
            blocker() == Blocker::LinkToFifo || blocker() == Blocker::LinkToFolder);
  if (blocker() == Blocker::LinkToFifo) {
    struct stat target {};
    ASSERT_EQ(::stat(QFile::encodeName(home.filePath("target")).constData(), &target), 0);
    EXPECT_TRUE(S_ISFIFO(target.st_mode));
  }
  EXPECT_EQ(main().SSPanel1->caption(), "before");
  EXPECT_EQ(services.ends, 0);
  EXPECT_FALSE(exists(Place::Data, files::kCost)) << "the exit save stops at the TimeLog";
  QStringList left = QDir(runtime->places().folder(place()))
                         .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  left.removeAll(QStringLiteral("wex"));
  left.removeAll(QString::fromLatin1(kUnitRecordName.data(), kUnitRecordName.size()));  // blocker
  left.sort();
  EXPECT_EQ(left, (QStringList{"hours.tme", "minutes.tme", "seconds.tme"}))
      << "no staged document or record is left";
}

INSTANTIATE_TEST_SUITE_P(
    EachFile, BlockedTimeLog,
    testing::Combine(testing::Values(files::kSeconds, files::kMinutes, files::kHours),
                     testing::Values(Blocker::Folder, Blocker::LinkToFifo, Blocker::LinkToFolder,
                                     Blocker::ReadOnly),
                     testing::Values(Saver::Button, Saver::Menu, Saver::Blank, Saver::Exit)),
    [](const testing::TestParamInfo<BlockedCase>& info) {
      std::string file(std::get<0>(info.param));
      file = file.substr(0, file.find('.'));
      return std::string(saverName(std::get<2>(info.param))) + "_" + file + "_" +
             blockerName(std::get<1>(info.param));
    });

// A folder where the save's roll-forward record goes: the record cannot be
// committed, so nothing is renamed over the three files.
INSTANTIATE_TEST_SUITE_P(
    TheRecord, BlockedTimeLog,
    testing::Combine(testing::Values(kUnitRecordName), testing::Values(Blocker::Folder),
                     testing::Values(Saver::Button, Saver::Menu, Saver::Blank, Saver::Exit)),
    [](const testing::TestParamInfo<BlockedCase>& info) {
      return std::string(saverName(std::get<2>(info.param))) + "_record";
    });

TEST_F(LogTest, MenuSaveIntoABlockedPlaceIsReported) {
  blockPlace(Place::Windows);
  main().save->trigger();
  EXPECT_EQ(services.messages.size(), 1);
  EXPECT_NE(main().SSPanel1->caption(), "The TimeLog has been saved");
}

TEST_F(LogTest, CostLogButtonsRoundTripAndChargingGoesOnFromTheLoadedAmount) {
  options().combo1ass->setText(QStringLiteral("1.4"));
  session->clock().setCost(QStringLiteral("0.056"));
  main().SSCommand7->click();
  EXPECT_EQ(main().SSPanel1->caption(), "Cost has been saved");
  EXPECT_TRUE(readRaw(Place::Data, files::kCost).contains("\\f3\\fs29 0.056\r\n"));
  session->clock().setCost(QStringLiteral("9"));
  main().SSCommand8->click();
  EXPECT_EQ(session->clock().cost(), "0.056");
  EXPECT_EQ(main().SSPanel1->caption(), "Cost has been loaded");
  tick(60);
  EXPECT_EQ(session->clock().cost(), "0.07");
}

TEST_F(LogTest, CostLogButtonSaveThenMenuLoadFailsWithTheMenuTexts) {
  session->clock().setCost(QStringLiteral("1.5"));
  main().SSCommand7->click();
  main().box->trigger();
  EXPECT_EQ(services.messages, QStringList{"There was an error on loading, so aborted"});
  EXPECT_EQ(main().SSPanel1->caption(), "Cost couldn't be loaded");
  EXPECT_EQ(session->clock().cost(), "1.5");
}

TEST_F(LogTest, CostLogButtonLoadOfAMissingFileKeepsBoxAndStatus) {
  session->clock().setCost(QStringLiteral("2"));
  main().setStatus(QStringLiteral("before"));
  main().SSCommand8->click();
  EXPECT_EQ(services.messages, QStringList{"No such file, or other error"});
  EXPECT_EQ(main().SSPanel1->caption(), "before");
  EXPECT_EQ(session->clock().cost(), "2");
}

TEST_F(LogTest, CostLogMenuSaveGoesToTheWindowsDirectoryAndFailureIsNotSuccess) {
  session->clock().setCost(QStringLiteral("3"));
  main().cur->trigger();
  EXPECT_EQ(readText(Place::Windows, files::kCost), "3");
  main().setStatus(QStringLiteral("before"));
  blockPlace(Place::Data);
  main().SSCommand7->click();
  EXPECT_EQ(services.messages.size(), 1);
  EXPECT_EQ(main().SSPanel1->caption(), "before");
}

}  // namespace
}  // namespace tempodial

// The TimeLog and the CostLog: each operation at its own place, exact files,
// and failures that never pass for success.
#include <QAction>
#include <QDir>

#include "core/value_document.h"
#include "platform/controls.h"
#include "window_fixture.h"
#include "windows/main_window.h"
#include "windows/options_window.h"

namespace tempodial {
namespace {

class LogTest : public WindowTest {
 protected:
  void SetUp() override { startMain(); }
  void setClock(const char* h, const char* m, const char* s) {
    main().RichTextBox3->setText(QString::fromLatin1(h));
    main().RichTextBox2->setText(QString::fromLatin1(m));
    main().RichTextBox1->setText(QString::fromLatin1(s));
  }
  QString shown() {
    return main().RichTextBox3->text() + ":" + main().RichTextBox2->text() + ":" +
           main().RichTextBox1->text();
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
  EXPECT_EQ(main().cost->text(), "0.014");
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

TEST_F(LogTest, MenuSaveIntoABlockedPlaceIsReported) {
  blockPlace(Place::Windows);
  main().save->trigger();
  EXPECT_EQ(services.messages.size(), 1);
  EXPECT_NE(main().SSPanel1->caption(), "The TimeLog has been saved");
}

TEST_F(LogTest, CostLogButtonsRoundTripAndChargingGoesOnFromTheLoadedAmount) {
  options().combo1ass->setText(QStringLiteral("1.4"));
  main().cost->setText(QStringLiteral("0.056"));
  main().SSCommand7->click();
  EXPECT_EQ(main().SSPanel1->caption(), "Cost has been saved");
  EXPECT_TRUE(readRaw(Place::Data, files::kCost).contains("\\f3\\fs29 0.056\r\n"));
  main().cost->setText(QStringLiteral("9"));
  main().SSCommand8->click();
  EXPECT_EQ(main().cost->text(), "0.056");
  EXPECT_EQ(main().SSPanel1->caption(), "Cost has been loaded");
  tick(60);
  EXPECT_EQ(main().cost->text(), "0.07");
}

TEST_F(LogTest, CostLogButtonSaveThenMenuLoadFailsWithTheMenuTexts) {
  main().cost->setText(QStringLiteral("1.5"));
  main().SSCommand7->click();
  main().box->trigger();
  EXPECT_EQ(services.messages, QStringList{"There was an error on loading, so aborted"});
  EXPECT_EQ(main().SSPanel1->caption(), "Cost couldn't be loaded");
  EXPECT_EQ(main().cost->text(), "1.5");
}

TEST_F(LogTest, CostLogButtonLoadOfAMissingFileKeepsBoxAndStatus) {
  main().cost->setText(QStringLiteral("2"));
  main().setStatus(QStringLiteral("before"));
  main().SSCommand8->click();
  EXPECT_EQ(services.messages, QStringList{"No such file, or other error"});
  EXPECT_EQ(main().SSPanel1->caption(), "before");
  EXPECT_EQ(main().cost->text(), "2");
}

TEST_F(LogTest, CostLogMenuSaveGoesToTheWindowsDirectoryAndFailureIsNotSuccess) {
  main().cost->setText(QStringLiteral("3"));
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

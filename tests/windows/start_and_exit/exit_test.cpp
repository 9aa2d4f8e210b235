// The way out: the exit options, the short-time question, the save of the
// totals and the closing of every window.
#include <QDir>
#include <QFile>
#include <string>

#include "core/values/value_document.h"
#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "tests/windows/window_fixture.h"
#include "windows/main/main_window.h"
#include "windows/programs/button_bar.h"
#include "windows/programs/button_bar_question.h"
#include "windows/start_and_exit/exit_window.h"
#include "windows/start_and_exit/short_time_exit_window.h"

namespace tempodial {
namespace {

const QString kExit = QString::fromLatin1(ExitWindow::kName);
const QString kQuestion = QString::fromLatin1(ShortTimeExitWindow::kName);
const QString kBar = QString::fromLatin1(ButtonBar::kName);
const QString kBarQuestion = QString::fromLatin1(ButtonBarQuestion::kName);

QByteArray clockDocument(const char* text) {
  return QByteArray::fromStdString(writeValueDocument(text, kClockBoxFont));
}
QByteArray costDocument(const QString& text) {
  return QByteArray::fromStdString(writeValueDocument(text.toStdString(), kCostBoxFont));
}

struct ClockTime {
  const char* hours;
  const char* minutes;
  const char* seconds;
};

std::string clockName(const testing::TestParamInfo<ClockTime>& info) {
  return std::string("At") + info.param.hours + "h" + info.param.minutes + "m" +
         info.param.seconds + "s";
}

class ExitTest : public WindowTest {
 protected:
  void SetUp() override {
    startMain();
    main().show();
  }

  void setClock(ClockTime time) {
    session->clock().setCounter(clock::Counter::Hours, QString::fromLatin1(time.hours));
    session->clock().setCounter(clock::Counter::Minutes, QString::fromLatin1(time.minutes));
    session->clock().setCounter(clock::Counter::Seconds, QString::fromLatin1(time.seconds));
  }
  QString shown() {
    return session->clock().hours() + ":" + session->clock().minutes() + ":" +
           session->clock().seconds();
  }

  // The next modal showing of `window` is answered by clicking `button`.
  void answer(const QString& window, const char* button) {
    services.answerModal(window, [button](Form& form) {
      Button* target = form.findChild<Button*>(QString::fromLatin1(button));
      ASSERT_NE(target, nullptr) << button;
      target->click();
    });
  }

  void writeOldTotals() {
    writeValue(Place::Data, files::kSeconds, QStringLiteral("41"));
    writeValue(Place::Data, files::kMinutes, QStringLiteral("42"));
    writeValue(Place::Data, files::kHours, QStringLiteral("43"));
    writeRaw(Place::Data, files::kCost, costDocument("4.4"));
  }
  void expectOldTotals() {
    EXPECT_EQ(readRaw(Place::Data, files::kSeconds), clockDocument("41"));
    EXPECT_EQ(readRaw(Place::Data, files::kMinutes), clockDocument("42"));
    EXPECT_EQ(readRaw(Place::Data, files::kHours), clockDocument("43"));
    EXPECT_EQ(readRaw(Place::Data, files::kCost), costDocument("4.4"));
  }
  void expectSavedTotals(ClockTime time, const QString& cost) {
    EXPECT_EQ(readRaw(Place::Data, files::kSeconds), clockDocument(time.seconds));
    EXPECT_EQ(readRaw(Place::Data, files::kMinutes), clockDocument(time.minutes));
    EXPECT_EQ(readRaw(Place::Data, files::kHours), clockDocument(time.hours));
    EXPECT_EQ(readRaw(Place::Data, files::kCost), costDocument(cost));
  }
  QStringList dataFiles() {
    return QDir(runtime->places().folder(Place::Data)).entryList(QDir::Files, QDir::Name);
  }
  // Every window but the bar is gone; the bar stays loaded, hidden, and its
  // question was never asked.
  void expectAllClosedButTheBar() {
    for (const QString& name : runtime->formNames()) {
      if (name != kBar) {
        EXPECT_FALSE(runtime->isLoaded(name)) << name.toStdString();
      }
    }
    ASSERT_TRUE(runtime->isLoaded(kBar));
    EXPECT_FALSE(runtime->loadedForm(kBar)->isVisible());
    EXPECT_FALSE(runtime->isLoaded(kBarQuestion));
  }
  void showBar() {
    auto& bar = runtime->form<ButtonBar>();
    bar.show();
    ASSERT_TRUE(bar.isVisible());
  }
  bool visible(const QString& name) {
    Form* form = runtime->loadedForm(name);
    return form != nullptr && form->isVisible();
  }
};

class ShortClockTime : public ExitTest, public testing::WithParamInterface<ClockTime> {};

TEST_P(ShortClockTime, AsksBeforeOverwritingAndNoExitLeavesEverythingAsItWas) {
  writeOldTotals();
  showBar();
  setClock(GetParam());
  const QString before = shown();
  answer(kExit, "Command1");
  answer(kQuestion, "Command3");
  main().Command3->click();

  EXPECT_EQ(services.modalsShown, (QStringList{kExit, kQuestion}));
  EXPECT_TRUE(services.unanswered.isEmpty());
  expectOldTotals();
  EXPECT_TRUE(services.messages.isEmpty());
  EXPECT_EQ(services.ends, 0);
  EXPECT_EQ(shown(), before);
  EXPECT_FALSE(visible(kExit));
  EXPECT_FALSE(visible(kQuestion));
  EXPECT_FALSE(visible(kBar));
  EXPECT_TRUE(main().isVisible());
}

INSTANTIATE_TEST_SUITE_P(FiveSecondsOrLess, ShortClockTime,
                         testing::Values(ClockTime{"0", "0", "0"}, ClockTime{"0", "0", "3"},
                                         ClockTime{"0", "0", "5"}),
                         clockName);

class LongerClockTime : public ExitTest, public testing::WithParamInterface<ClockTime> {};

TEST_P(LongerClockTime, SavesTheFourFilesWithoutAskingThenEnds) {
  writeOldTotals();
  setClock(GetParam());
  session->clock().setCost(QStringLiteral("0.126"));
  // The message must come after the files hold the totals.
  services.onNextMessage([&](const QString&) { expectSavedTotals(GetParam(), "0.126"); });
  answer(kExit, "Command1");
  main().leave->trigger();

  EXPECT_FALSE(services.modalsShown.contains(kQuestion));
  expectSavedTotals(GetParam(), "0.126");
  EXPECT_EQ(services.messages, QStringList{"Ok, program now ends"});
  EXPECT_EQ(services.ends, 1);
  EXPECT_FALSE(runtime->isLoaded(kBarQuestion));
}

INSTANTIATE_TEST_SUITE_P(MoreThanFiveSeconds, LongerClockTime,
                         testing::Values(ClockTime{"0", "0", "6"}, ClockTime{"1", "0", "3"},
                                         ClockTime{"0", "1", "0"}),
                         clockName);

TEST_F(ExitTest, ExitNoSaveTouchesNoFileShowsNothingAndNeverAsksAboutTheBar) {
  writeOldTotals();
  showBar();
  setClock({"2", "5", "9"});
  const QStringList filesBefore = dataFiles();
  answer(kExit, "Command2");
  main().Command3->click();

  expectOldTotals();
  EXPECT_EQ(dataFiles(), filesBefore);
  EXPECT_TRUE(services.messages.isEmpty());
  EXPECT_EQ(services.ends, 1);
  expectAllClosedButTheBar();
}

TEST_F(ExitTest, SaveAndExitInTheQuestionWritesWhatExitAndSaveWouldAndClosesAll) {
  writeOldTotals();
  showBar();
  setClock({"0", "0", "4"});
  session->clock().setCost(QStringLiteral("0.5"));
  services.onNextMessage([&](const QString&) { expectSavedTotals({"0", "0", "4"}, "0.5"); });
  answer(kExit, "Command1");
  answer(kQuestion, "Command1");
  main().Command3->click();

  expectSavedTotals({"0", "0", "4"}, "0.5");
  EXPECT_EQ(services.messages, QStringList{"ok, will end the program"});
  EXPECT_EQ(services.ends, 1);
  expectAllClosedButTheBar();
}

TEST_F(ExitTest, NoSaveAndExitInTheQuestionWritesNothingAndClosesAll) {
  writeOldTotals();
  showBar();
  setClock({"0", "0", "1"});
  answer(kExit, "Command1");
  answer(kQuestion, "Command2");
  main().Command3->click();

  expectOldTotals();
  EXPECT_TRUE(services.messages.isEmpty());
  EXPECT_EQ(services.ends, 1);
  expectAllClosedButTheBar();
}

TEST_F(ExitTest, SecondShowingOfTheQuestionLeavesTheBarAlone) {
  showBar();
  answer(kExit, "Command1");
  answer(kQuestion, "Command3");
  main().Command3->click();
  EXPECT_FALSE(visible(kBar));

  showBar();
  answer(kExit, "Command1");
  answer(kQuestion, "Command3");
  main().Command3->click();
  EXPECT_EQ(services.modalsShown, (QStringList{kExit, kQuestion, kExit, kQuestion}));
  EXPECT_TRUE(visible(kBar));
  EXPECT_EQ(services.ends, 0);
}

TEST_F(ExitTest, TitleBarCloseThenExitAndSaveKeepsTheCountersTheClockShowed) {
  session->clock().startStop();
  tick(67);
  session->clock().startStop();
  ASSERT_EQ(shown(), "0:1:7");
  const QString cost = session->clock().cost();
  answer(kExit, "Command1");
  main().close();

  EXPECT_EQ(services.modalsShown, QStringList{kExit});
  expectSavedTotals({"0", "1", "7"}, cost);
  EXPECT_EQ(services.ends, 1);
}

TEST_F(ExitTest, FailedSaveOnTheWayOutReportsItAndKeepsTheProgramRunning) {
  writeOldTotals();
  // A folder where minutes.tme should be: the TimeLog is saved as one unit, so
  // none of its files changes, and the CostLog after it is not touched.
  QFile::remove(path(Place::Data, files::kMinutes));
  ASSERT_TRUE(QDir().mkpath(path(Place::Data, files::kMinutes)));
  setClock({"0", "3", "20"});
  answer(kExit, "Command1");
  main().Command3->click();

  ASSERT_EQ(services.messages.size(), 1);
  EXPECT_TRUE(services.messages[0].contains(QStringLiteral("minutes.tme")))
      << services.messages[0].toStdString();
  EXPECT_EQ(readRaw(Place::Data, files::kSeconds), clockDocument("41"));
  EXPECT_EQ(readRaw(Place::Data, files::kHours), clockDocument("43"));
  EXPECT_EQ(readRaw(Place::Data, files::kCost), costDocument("4.4"));
  EXPECT_EQ(services.ends, 0);
  EXPECT_FALSE(visible(kExit));
  EXPECT_TRUE(main().isVisible());
  EXPECT_EQ(shown(), "0:3:20");

  // Once the way is clear the user can leave with the totals saved.
  ASSERT_TRUE(QDir(path(Place::Data, files::kMinutes)).removeRecursively());
  answer(kExit, "Command1");
  main().Command3->click();
  expectSavedTotals({"0", "3", "20"}, "0");
  EXPECT_EQ(services.messages.last(), "Ok, program now ends");
  EXPECT_EQ(services.ends, 1);
}

TEST_F(ExitTest, FailedSaveFromTheQuestionReturnsToTheMainWindowWithoutEnding) {
  blockPlace(Place::Data);
  setClock({"0", "0", "2"});
  answer(kExit, "Command1");
  answer(kQuestion, "Command1");
  main().Command3->click();

  ASSERT_EQ(services.messages.size(), 1);
  EXPECT_TRUE(services.messages[0].contains(QStringLiteral("seconds.tme")))
      << services.messages[0].toStdString();
  EXPECT_EQ(services.ends, 0);
  EXPECT_FALSE(visible(kExit));
  EXPECT_FALSE(visible(kQuestion));
  EXPECT_TRUE(runtime->isLoaded(QString::fromLatin1(MainWindow::kName)));
  EXPECT_EQ(shown(), "0:0:2");
}

}  // namespace
}  // namespace tempodial

// The main window as the clock's view: what its boxes show and in which
// order, typing into them, its keys, the reset question and the minimised
// caption. How the clock counts and charges is the model's own
// (tests/platform/clock).
#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QTest>

#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "tests/windows/window_fixture.h"
#include "windows/cost/options_window.h"
#include "windows/main/main_window.h"
#include "windows/totals/reset_window.h"

namespace tempodial {
namespace {

class ClockTest : public WindowTest {
 protected:
  void SetUp() override { startMain(); }
  QString shown() {
    return main().RichTextBox3->text() + ":" + main().RichTextBox2->text() + ":" +
           main().RichTextBox1->text();
  }
};

TEST_F(ClockTest, HourCarryCompletesBeforeTheMinuteIsCharged) {
  main().RichTextBox3->setText(QStringLiteral("0"));
  main().RichTextBox2->setText(QStringLiteral("59"));
  main().RichTextBox1->setText(QStringLiteral("59"));
  QStringList seen;
  options().combo1ass->setText(QStringLiteral("100"));
  main().cost->onChange = [&] { seen << shown(); };
  tick(1);
  EXPECT_EQ(seen, QStringList{"1:0:0"});
  EXPECT_EQ(shown(), "1:0:0");
}

TEST_F(ClockTest, TypingSixtyIntoAnUnlockedSecondsBoxCarriesAtOnce) {
  main().show();
  RichTextBox* seconds = main().RichTextBox1;
  seconds->setLocked(false);
  seconds->setFocus();
  seconds->selectAll();
  QTest::keyClicks(seconds, QStringLiteral("60"));
  EXPECT_EQ(shown(), "0:1:0");
}

TEST_F(ClockTest, AltTStartsTheClockAlthoughTheTimerMenuMarksTheSameLetter) {
  main().show();
  QApplication::setActiveWindow(&main());
  main().SSCommand2->setFocus();
  QTest::keyClick(&main(), Qt::Key_T, Qt::AltModifier);
  EXPECT_TRUE(main().Timer1->enabled());
  EXPECT_EQ(main().SSPanel1->caption(), "The timer has been touched");
}

TEST_F(ClockTest, LockedCountersRefuseTyping) {
  main().show();
  main().RichTextBox1->setFocus();
  QTest::keyClicks(main().RichTextBox1, QStringLiteral("9"));
  EXPECT_EQ(main().RichTextBox1->text(), "0");
}

TEST_F(ClockTest, StartStopTwiceLeavesTheClockStoppedAndTheTimeKept) {
  main().SSCommand1->click();
  EXPECT_TRUE(main().Timer1->enabled());
  tick(3);
  main().SSCommand1->click();
  EXPECT_FALSE(main().Timer1->enabled());
  EXPECT_EQ(shown(), "0:0:3");
  EXPECT_EQ(main().SSPanel1->caption(), "The timer has been touched");
}

TEST_F(ClockTest, ResetConfirmedWhileRunningZeroesTheClockButNotTheCost) {
  session->clock().startStop();
  tick(75);
  session->clock().setCost(QStringLiteral("0.5"));
  services.answerModal(QString::fromLatin1(ResetWindow::kName),
                       [](Form& form) { static_cast<ResetWindow&>(form).Command1->click(); });
  main().SSCommand2->click();
  EXPECT_EQ(services.messages, QStringList{"This will reset the time"});
  EXPECT_EQ(shown(), "0:0:0");
  EXPECT_EQ(main().SSPanel1->caption(), "Time will now be reset");
  EXPECT_EQ(session->clock().cost(), "0.5");
  EXPECT_TRUE(session->tick().enabled());
  EXPECT_FALSE(runtime->isLoaded(QString::fromLatin1(ResetWindow::kName)));
  tick(1);
  EXPECT_EQ(shown(), "0:0:1");
}

TEST_F(ClockTest, ResetCancelledChangesNothingAndBeepsOnEveryOpening) {
  tick(5);
  for (int i = 0; i < 2; ++i) {
    services.answerModal(QString::fromLatin1(ResetWindow::kName),
                         [](Form& form) { static_cast<ResetWindow&>(form).Command2->click(); });
    main().reset_->trigger();
  }
  EXPECT_EQ(shown(), "0:0:5");
  EXPECT_TRUE(services.messages.isEmpty());
  EXPECT_EQ(services.beeps, 2);
}

TEST_F(ClockTest, ResetButtonsAskForArialBlackAndAStandInIsBold) {
  auto& reset = runtime->form<ResetWindow>();
  for (Button* button : {reset.Command1, reset.Command2}) {
    SCOPED_TRACE(button->objectName().toStdString());
    EXPECT_EQ(button->font().family(), "Arial Black");
    EXPECT_EQ(button->font().weight(), QFont::Black);
    // Whatever face fontconfig finds for it is a bold one.
    EXPECT_GE(QFontInfo(button->font()).weight(), QFont::Bold);
  }
  runtime->unload(QString::fromLatin1(ResetWindow::kName));
}

TEST_F(ClockTest, MinimisedCaptionFollowsTheBoxesAndReturnsWhenRestored) {
  main().show();
  main().RichTextBox2->setText(QStringLiteral("12"));
  main().RichTextBox1->setText(QStringLiteral("5"));
  main().setWindowState(Qt::WindowMinimized);
  main().Timer5->elapse();
  EXPECT_EQ(main().windowTitle(), "W.E.X. 0:12:5");
  main().setWindowState(Qt::WindowNoState);
  main().Timer5->elapse();
  EXPECT_EQ(main().windowTitle(), "Tempodial");
}

}  // namespace
}  // namespace tempodial

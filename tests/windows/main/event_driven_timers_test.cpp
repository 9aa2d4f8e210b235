// The rate selection and the caption refresh wait for something that can
// change them, and then keep their promises: the rate in use follows the
// tariff list, a rate box and the tariff files (whoever changes them) at the
// next tick of the Options window's Timer1; the main window's caption follows
// minimising, restoring and the clock at once; the captions of "Show
// buttonbar" and "Show options" follow their windows at the next tick of
// Timer5. Between changes neither timer runs.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include "tests/windows/cost/cost_fixture.h"
#include "windows/programs/button_bar.h"

namespace tempodial {
namespace {

class EventDrivenTimersTest : public CostTest {
 protected:
  void SetUp() override {
    startMain();
    // The first ticks after the start, which run whatever happens.
    selectRateTick();
    main().Timer5->elapse();
  }

  // Waits (a bounded time) for the file system's news to arm the timer, as
  // it would between two ticks of a running program.
  static bool armedSoon(FormTimer& timer) {
    const QDeadlineTimer deadline(5000);
    while (!timer.enabled() && !deadline.hasExpired()) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return timer.enabled();
  }
  // The rate in use after the next tick of the rate selection, if armed.
  QString rateAfterTick() {
    EXPECT_TRUE(options().Timer1->enabled()) << "nothing armed the rate selection";
    options().Timer1->elapse();
    EXPECT_FALSE(options().Timer1->enabled()) << "the rate selection keeps ticking";
    return options().combo1ass->text();
  }
  void writeByAnotherProgram(std::string_view name, const QByteArray& bytes) {
    QFile file(path(Place::Data, name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
};

TEST_F(EventDrivenTimersTest, NeitherTimerRunsWhileNothingChanges) {
  EXPECT_FALSE(options().Timer1->enabled());
  EXPECT_FALSE(main().Timer5->enabled());
  session->tick().setEnabled(true);  // the clock runs
  tick(3);
  EXPECT_FALSE(options().Timer1->enabled());
  EXPECT_FALSE(main().Timer5->enabled());
}

TEST_F(EventDrivenTimersTest, RateFollowsTheListAndTheBoxesAtTheNextTickNotAtOnce) {
  chooseTariff(1);  // "Weekend"
  EXPECT_EQ(options().combo1ass->text(), "1.4");
  EXPECT_EQ(rateAfterTick(), "1.0");
  options().Combo1->setText(QStringLiteral("Mine"));  // typed
  options().custom1->setText(QStringLiteral("Mine"));
  options().ccost1->setText(QStringLiteral("3.5"));
  EXPECT_EQ(rateAfterTick(), "3.5");
  options().ccost1->setText(QStringLiteral("4"));
  EXPECT_EQ(rateAfterTick(), "4");
  options().custom2->setText(QStringLiteral("Mine"));
  options().ccost2->setText(QStringLiteral("6"));
  EXPECT_EQ(rateAfterTick(), "6");
}

TEST_F(EventDrivenTimersTest, RateFollowsTariffFilesThatAnotherProgramWritesOrDeletes) {
  options().RichTextBox1->setText(QStringLiteral("2.5"));  // edited, not saved
  EXPECT_EQ(rateAfterTick(), "1.4");

  writeByAnotherProgram(files::kWeekday, "{\\rtf1\\ansi 9\\par }");
  ASSERT_TRUE(armedSoon(*options().Timer1));
  EXPECT_EQ(rateAfterTick(), "2.5");  // the file counts; the box gives the rate

  ASSERT_TRUE(QFile::remove(path(Place::Data, files::kWeekday)));
  ASSERT_TRUE(armedSoon(*options().Timer1));
  EXPECT_EQ(rateAfterTick(), "1.4");
}

TEST_F(EventDrivenTimersTest, DataDirectoryMadeAgainIsFollowedAndPolledWhileMissing) {
  options().RichTextBox1->setText(QStringLiteral("2.5"));
  EXPECT_EQ(rateAfterTick(), "1.4");
  const QString data = runtime->places().folder(Place::Data);
  ASSERT_TRUE(QDir(data).removeRecursively());
  ASSERT_TRUE(armedSoon(*options().Timer1));
  // Nothing to watch: the selection ticks every 100 ms until there is.
  options().Timer1->elapse();
  EXPECT_TRUE(options().Timer1->enabled());

  ASSERT_TRUE(QDir().mkpath(data));
  writeByAnotherProgram(files::kWeekday, "{\\rtf1\\ansi 9\\par }");
  const QDeadlineTimer deadline(5000);
  while (options().Timer1->runsOnce() == false && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  EXPECT_EQ(rateAfterTick(), "2.5");
  ASSERT_TRUE(QFile::remove(path(Place::Data, files::kWeekday)));
  ASSERT_TRUE(armedSoon(*options().Timer1));
  EXPECT_EQ(rateAfterTick(), "1.4");
}

TEST_F(EventDrivenTimersTest, CaptionFollowsMinimisingTheClockAndRestoringAtOnce) {
  main().show();
  session->clock().setCounter(clock::Counter::Minutes, QStringLiteral("5"));
  session->clock().setCounter(clock::Counter::Seconds, QStringLiteral("8"));
  main().setWindowState(Qt::WindowMinimized);
  EXPECT_EQ(main().windowTitle(), "W.E.X. 0:5:8");
  session->tick().setEnabled(true);
  tick(1);
  EXPECT_EQ(main().windowTitle(), "W.E.X. 0:5:9");
  tick(51);  // a minute and its charge
  EXPECT_EQ(main().windowTitle(), "W.E.X. 0:6:0");
  main().setWindowState(Qt::WindowNoState);
  EXPECT_EQ(main().windowTitle(), "Tempodial");
  tick(1);
  EXPECT_EQ(main().windowTitle(), "Tempodial");
  EXPECT_FALSE(main().Timer5->enabled());
}

TEST_F(EventDrivenTimersTest, ButtonCaptionsFollowTheirWindowsAtTheNextTick) {
  const auto captionsAfterTick = [this] {
    EXPECT_TRUE(main().Timer5->enabled()) << "nothing armed the caption refresh";
    main().Timer5->elapse();
    EXPECT_FALSE(main().Timer5->enabled());
    return main().Command1->text() + " / " + main().Command2->text();
  };
  EXPECT_EQ(main().Command1->text() + " / " + main().Command2->text(),
            "Show buttonbar / Show options");
  main().Command2->click();
  EXPECT_EQ(captionsAfterTick(), "Show buttonbar / Hide options");
  options().Command5->click();  // "Hide Options", the window's own button
  EXPECT_EQ(captionsAfterTick(), "Show buttonbar / Show options");
  main().Command1->click();
  EXPECT_EQ(captionsAfterTick(), "Hide buttonbar / Show options");
  runtime->form<ButtonBar>().hide();  // however it goes
  EXPECT_EQ(captionsAfterTick(), "Show buttonbar / Show options");
}

}  // namespace
}  // namespace tempodial

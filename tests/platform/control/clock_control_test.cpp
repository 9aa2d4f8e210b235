// The clock's D-Bus object without a bus: what its properties say, how its
// signals are spaced, and what its methods do to the model, on a clock whose
// real time the test sets.
#include "platform/control/clock_control.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStringList>

#include "platform/clock/clock_model.h"
#include "platform/control/control_verbs.h"

namespace tempodial {
namespace {

class ClockControlTest : public ::testing::Test {
 protected:
  ClockControlTest() {
    QObject::connect(&control, &ClockControl::propertiesChanged, &control,
                     [this](const QVariantMap& changed) { sent.append(changed); });
  }

  static bool makeApplication() {
    // No login manager: the clock's sleep watch stays quiet.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    if (QCoreApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "clock_control_test";
      static char* argv[] = {name, nullptr};
      new QCoreApplication(argc, argv);
    }
    return true;
  }

  // A running clock `ms` later: the model catches up, and a signal made due
  // is sent if its time has come.
  void after(qint64 ms) {
    nowMs += ms;
    clock.catchUp();
    if (control.signalPending() && control.signalDelayMs() <= ms) control.sendChanges();
  }

  bool application = makeApplication();
  qint64 nowMs = 0;
  ClockModel clock{[this] { return nowMs; }};
  bool stands = true;
  bool asking = false;
  int resets = 0;
  int shows = 0;
  ClockControl control{clock,
                       {.windowStands = [this] { return stands; },
                        .questionOpen = [this] { return asking; },
                        .reset = [this] { ++resets; },
                        .showWindow = [this] { ++shows; }},
                       [this] { return nowMs; }};
  QList<QVariantMap> sent;
};

TEST_F(ClockControlTest, PropertiesFollowTheModel) {
  clock.setCounter(clock::Counter::Hours, QStringLiteral("1"));
  clock.setCounter(clock::Counter::Minutes, QStringLiteral("2"));
  clock.setCounter(clock::Counter::Seconds, QStringLiteral("3.7"));
  clock.setCost(QStringLiteral("0.9245"));
  clock.setCurrency(QStringLiteral("£"), QStringLiteral("Pound"));
  clock.setRateInForce(
      {.shown = true, .caption = QStringLiteral("Off-peak 0.5p/min"), .detail = {}});
  clock.volumeStarted();
  clock.volumeRead({.received = 34'000'000, .sent = 200'000});
  const QVariantMap properties = control.properties();
  EXPECT_EQ(properties.value("Running"), false);
  EXPECT_EQ(properties.value("Seconds"), 3723);  // a fraction of a second is not counted
  EXPECT_EQ(properties.value("Cost"), "0.9245");
  EXPECT_EQ(properties.value("Currency"), "£");
  EXPECT_EQ(properties.value("RateInForce"), "Off-peak 0.5p/min");
  EXPECT_EQ(properties.value("ReceivedBytes"), 34'000'000ULL);
  EXPECT_EQ(properties.value("SentBytes"), 200'000ULL);
  EXPECT_EQ(properties.value("Plan"), "");
  clock.setRateInForce(
      {.shown = false, .caption = QStringLiteral("Off-peak 0.5p/min"), .detail = {}});
  EXPECT_EQ(control.properties().value("RateInForce"), "");

  EXPECT_EQ(statusLine(properties), "Stopped 1:2:3 £0.9245 34.2 MB");
  EXPECT_EQ(statusJson(properties),
            R"({"class":"stopped","cost":"0.9245","currency":"£","plan":"",)"
            R"("rate_in_force":"Off-peak 0.5p/min","received_bytes":34000000,"running":false,)"
            R"("seconds":3723,"sent_bytes":200000,"text":"Stopped 1:2:3 £0.9245 34.2 MB",)"
            R"("tooltip":"Stopped 1:2:3 £0.9245 34.2 MB\nOff-peak 0.5p/min"})");
  // No bytes counted: the volume is left out.
  EXPECT_EQ(statusLine({{"Running", true}, {"Seconds", 725}, {"Cost", "0.44"}, {"Currency", "$"}}),
            "Running 0:12:5 $0.44");
}

// What is sent, and when, from a start to a stop: the model's many signals
// come out as at most one PropertiesChanged a second, carrying only what
// changed; a clock that stands still sends nothing and keeps no timer.
TEST_F(ClockControlTest, SignalsAreSpacedASecondApartAndStopWithTheClock) {
  clock.setRate(QStringLiteral("60"));
  EXPECT_FALSE(control.signalPending());
  control.sendChanges();
  EXPECT_TRUE(sent.isEmpty());  // nothing changed: nothing sent

  control.Start();
  ASSERT_TRUE(control.signalPending());
  EXPECT_EQ(control.signalDelayMs(), 0);  // the first change goes out at once
  control.sendChanges();
  ASSERT_EQ(sent.size(), 1);
  EXPECT_EQ(sent.last(), (QVariantMap{{"Running", true}}));

  after(400);  // nothing due yet: no second has passed on the clock
  EXPECT_FALSE(control.signalPending());
  after(600);  // 1 s: the second counted, exactly a second after the last signal
  ASSERT_EQ(sent.size(), 2);
  EXPECT_EQ(sent.last(), (QVariantMap{{"Seconds", 1}}));

  nowMs += 300;
  clock.setCurrency(QStringLiteral("$"), QStringLiteral("Dollar"));
  ASSERT_TRUE(control.signalPending());
  EXPECT_EQ(control.signalDelayMs(), 700);  // held until a second after the last
  nowMs += 700;
  clock.catchUp();  // the next second, meanwhile, rides along with it
  control.sendChanges();
  EXPECT_EQ(sent.last(), (QVariantMap{{"Seconds", 2}, {"Currency", "$"}}));

  // Three seconds caught up at once (a late tick): one signal.
  nowMs += 3'000;
  clock.catchUp();
  EXPECT_EQ(control.signalDelayMs(), 0);
  control.sendChanges();
  EXPECT_EQ(sent.last(), (QVariantMap{{"Seconds", 5}}));
  EXPECT_EQ(sent.size(), 4);

  nowMs += 500;
  control.Stop();
  EXPECT_EQ(control.signalDelayMs(), 500);
  control.sendChanges();
  EXPECT_EQ(sent.last(), (QVariantMap{{"Running", false}}));

  // Stopped: time passes, ticks come late, nothing is due.
  nowMs += 60'000;
  clock.catchUp();
  EXPECT_FALSE(control.signalPending());
  // A reset while stopped is said once.
  clock.setCounter(clock::Counter::Seconds, QStringLiteral("0"));
  EXPECT_EQ(control.signalDelayMs(), 0);
  control.sendChanges();
  EXPECT_EQ(sent.last(), (QVariantMap{{"Seconds", 0}}));
  EXPECT_EQ(sent.size(), 6);
}

TEST_F(ClockControlTest, MethodsDoWhatTheButtonsDoOnlyWhenTheyCanBePressed) {
  struct Case {
    const char* name;
    void (ClockControl::*method)();
    bool runningBefore, stands, asking;
    bool runningAfter;
  };
  const Case cases[] = {
      {"StartStarts", &ClockControl::Start, false, true, false, true},
      {"StartLeavesARunningClock", &ClockControl::Start, true, true, false, true},
      {"StopStops", &ClockControl::Stop, true, true, false, false},
      {"StopLeavesAStoppedClock", &ClockControl::Stop, false, true, false, false},
      {"ToggleStarts", &ClockControl::Toggle, false, true, false, true},
      {"ToggleStops", &ClockControl::Toggle, true, true, false, false},
      {"NothingBeforeTheWindowStands", &ClockControl::Toggle, false, false, false, false},
      {"NothingWhileAQuestionIsOpen", &ClockControl::Toggle, true, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    stands = true;
    asking = false;
    if (clock.running() != c.runningBefore) clock.startStop();
    stands = c.stands;
    asking = c.asking;
    (control.*c.method)();
    EXPECT_EQ(clock.running(), c.runningAfter);
  }

  // Reset opens the question after the call has returned, and once however
  // often it is asked meanwhile.
  stands = true;
  asking = false;
  control.Reset();
  control.Reset();
  EXPECT_EQ(resets, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(resets, 1);
  control.Reset();  // answered: it can be asked again
  QCoreApplication::processEvents();
  EXPECT_EQ(resets, 2);
  asking = true;
  control.Reset();
  stands = false;
  control.Reset();
  control.ShowWindow();
  QCoreApplication::processEvents();
  EXPECT_EQ(resets, 2);
  EXPECT_EQ(shows, 0);
  // The window is shown even while it asks.
  stands = true;
  control.ShowWindow();
  EXPECT_EQ(shows, 1);
}

}  // namespace
}  // namespace tempodial

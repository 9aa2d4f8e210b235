// The clock's D-Bus object without a bus: what its properties say, which
// changes it sends and when, and what its methods do to the model, on a
// clock whose real time the test sets.
#include "platform/control/clock_control.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>

#include "platform/clock/clock_model.h"
#include "platform/clock/plan_meter.h"
#include "platform/control/control_verbs.h"
#include "platform/control/status_follower.h"
#include "platform/plans/plan_store.h"

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
    // Questions are windows: an application that can show one, off screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (QCoreApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "clock_control_test";
      static char* argv[] = {name, nullptr};
      new QApplication(argc, argv);
    }
    return true;
  }

  // What the object sends once the event being handled is over.
  void settle() { QCoreApplication::processEvents(); }
  // A running clock `ms` later: the model catches up.
  void after(qint64 ms) {
    nowMs += ms;
    clock.catchUp();
    settle();
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
                        .showWindow = [this] { ++shows; }}};
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
  // Every property of the interface file, each read from the model.
  EXPECT_EQ(properties.keys(),
            (QStringList{"Cost", "Currency", "Plan", "QuestionOpen", "RateInForce", "ReceivedBytes",
                         "Running", "Seconds", "SentBytes"}));
  EXPECT_EQ(control::interfaceName(), "io.github.tempodial.Clock");
  EXPECT_EQ(properties.value("Running"), false);
  EXPECT_EQ(properties.value("Seconds"), 3723);  // a fraction of a second is not counted
  EXPECT_EQ(properties.value("Cost"), "0.9245");
  EXPECT_EQ(properties.value("Currency"), "£");
  EXPECT_EQ(properties.value("RateInForce"), "Off-peak 0.5p/min");
  EXPECT_EQ(properties.value("ReceivedBytes"), 34'000'000ULL);
  EXPECT_EQ(properties.value("SentBytes"), 200'000ULL);
  EXPECT_EQ(properties.value("Plan"), "");
  EXPECT_EQ(properties.value("QuestionOpen"), false);
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

// No property of the interface changes without a PropertiesChanged that
// carries its new value, at once: one row per property of the interface
// file, and a property without a row fails.
TEST_F(ClockControlTest, EveryPropertysChangeIsSentAtOnce) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    GTEST_SKIP() << "a question window needs the application this test makes; ctest runs it alone";
  }
  QTemporaryDir config;
  const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QWidget question;
  question.setWindowModality(Qt::ApplicationModal);
  const std::map<QString, std::function<void()>> changes = {
      {"Running", [&] { control.Start(); }},
      {"Seconds", [&] { clock.setCounter(clock::Counter::Minutes, QStringLiteral("7")); }},
      {"Cost", [&] { clock.setCost(QStringLiteral("0.5")); }},
      {"Currency", [&] { clock.setCurrency(QStringLiteral("$"), QStringLiteral("Dollar")); }},
      {"RateInForce",
       [&] {
         clock.setRateInForce({.shown = true, .caption = QStringLiteral("Peak"), .detail = {}});
       }},
      {"ReceivedBytes", [&] { clock.volumeRead({.received = 1'000, .sent = 0}); }},
      {"SentBytes", [&] { clock.volumeRead({.received = 1'000, .sent = 20}); }},
      // Another plan in use, chosen elsewhere and read again while stopped,
      // whose rate reads as the last one's did.
      {"Plan",
       [&] {
         ASSERT_TRUE(setPlanInUse(QStringLiteral("Other")).ok());
         clock.planMeter().reload();
       }},
      // A question window of the program opens.
      {"QuestionOpen",
       [&] {
         asking = true;
         question.show();
       }},
  };
  QStringList covered;
  for (const auto& [name, change] : changes) covered << name;
  EXPECT_EQ(covered, ClockControl::propertyNames());

  QDir().mkpath(plansFolder());
  for (const char* plan : {"Flat", "Other"}) {
    QFile file(plansFolder() + "/" + plan + ".ini");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("[plan]\nname=") + plan + "\nrate=1.2\n");
  }
  ASSERT_TRUE(setPlanInUse(QStringLiteral("Flat")).ok());
  clock.planMeter().reload();
  clock.volumeStarted();
  settle();
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name.toStdString());
    asking = false;
    question.hide();
    if (clock.running()) control.Stop();
    settle();
    const QVariant before = control.properties().value(name);
    const qsizetype signals = sent.size();
    change();
    const QVariant after = control.properties().value(name);
    ASSERT_NE(after, before);
    settle();
    ASSERT_EQ(sent.size(), signals + 1);
    EXPECT_EQ(sent.last().value(name), after);
  }
  qputenv("XDG_CONFIG_HOME", oldConfig);
}

// What is sent, and when, from a start to a stop: every event at once, in
// one signal, and nothing for the seconds a running clock counts; a clock
// nobody changes has nothing due.
TEST_F(ClockControlTest, CountedSecondsAreQuietAndEveryEventIsSentAtOnce) {
  clock.setRate(QStringLiteral("60"));
  settle();
  sent.clear();
  control.sendChanges();
  EXPECT_TRUE(sent.isEmpty());  // nothing changed: nothing sent

  control.Start();
  settle();
  EXPECT_EQ(sent, (QList<QVariantMap>{{{"Running", true}, {"Seconds", 0}}}));

  for (int second = 1; second < 60; ++second) after(1'000);
  EXPECT_EQ(clock.seconds(), "59");
  EXPECT_EQ(sent.size(), 1);  // counted: nothing sent

  after(1'000);  // the minute is charged: the cost, with the seconds as they stand
  EXPECT_EQ(sent.last(), (QVariantMap{{"Cost", "0.6"}, {"Seconds", 60}}));

  // A late tick catches up three seconds at once: still counting.
  after(3'000);
  EXPECT_EQ(sent.size(), 2);
  // The seconds' box set while running, to 1:0, the very value last sent:
  // not what the clock counts, so it is sent.
  clock.setCounter(clock::Counter::Seconds, QStringLiteral("0"));
  settle();
  EXPECT_EQ(sent.last(), (QVariantMap{{"Seconds", 60}}));
  after(1'000);
  after(1'000);
  EXPECT_EQ(sent.size(), 3);

  nowMs += 500;
  control.Stop();
  settle();
  EXPECT_EQ(sent.last(), (QVariantMap{{"Running", false}, {"Seconds", 62}}));

  // Stopped: time passes, ticks come late, nothing is due.
  after(60'000);
  EXPECT_FALSE(control.lookPending());
  EXPECT_EQ(sent.size(), 4);
  // A reset while stopped is said once.
  clock.setCounter(clock::Counter::Seconds, QStringLiteral("0"));
  settle();
  EXPECT_EQ(sent.last(), (QVariantMap{{"Seconds", 60}}));
  EXPECT_EQ(sent.size(), 5);
}

// The follower's line between signals: a running clock's seconds go on by
// whole seconds from the last value had, a stopped clock's stand.
TEST(StatusFollowerTest, CountsOnFromTheLastValueWhileTheClockRuns) {
  const struct {
    const char* name;
    bool running;
    qint64 elapsedMs;
    qlonglong seconds;
  } cases[] = {
      {"NoWholeSecondYet", true, 999, 10},
      {"OneSecond", true, 1'000, 11},
      {"AMinuteAndAHalf", true, 61'500, 71},
      {"StoppedStands", false, 5'000, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QVariantMap had{{"Running", c.running}, {"Seconds", 10LL}, {"Cost", "0.4"}};
    const QVariantMap now = advanced(had, c.elapsedMs);
    EXPECT_EQ(now.value("Seconds").toLongLong(), c.seconds);
    EXPECT_EQ(now.value("Cost"), "0.4");
  }
  EXPECT_EQ(notRunningLine(false), "Not running");
  EXPECT_EQ(
      notRunningLine(true),
      R"({"class":"not-running","running":false,"text":"","tooltip":"Tempodial is not running"})");
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

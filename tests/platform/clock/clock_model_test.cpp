// The clock model's contract with its views and observers: what it says, in
// which order, and that a value handed back unchanged says nothing.
#include "platform/clock/clock_model.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStringList>

namespace tempodial {
namespace {

class ClockModelTest : public ::testing::Test {
 protected:
  ClockModelTest() {
    // No login manager: the sleep watch stays quiet.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    if (QCoreApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "clock_model_test";
      static char* argv[] = {name, nullptr};
      new QCoreApplication(argc, argv);
    }
    clock.setRate(QStringLiteral("1.4"));
    auto note = [this](const char* what) { return [this, what] { log << what; }; };
    connect(&clock, &ClockModel::countersChanged, note("counters"));
    connect(&clock, &ClockModel::costChanged, note("cost"));
    connect(&clock, &ClockModel::runStarted, note("started"));
    connect(&clock, &ClockModel::runStopped, note("stopped"));
    connect(&clock, &ClockModel::said, [this](const QString& text) {
      log << "status";
      lastSaid = text;
    });
    connect(&clock, &ClockModel::counted, [this](int added) { log << QString::number(added); });
    connect(&clock, &ClockModel::runningChanged,
            [this](bool on) { log << (on ? "running" : "not running"); });
  }

  QString shown() const {
    return clock.hours() + ':' + clock.minutes() + ':' + clock.seconds() + ' ' + clock.cost();
  }

  static void connect(ClockModel* sender, auto signal, auto slot) {
    QObject::connect(sender, signal, sender, slot);
  }

  qint64 nowMs = 0;
  ClockModel clock{[this] { return nowMs; }};
  QStringList log;
  QString lastSaid;
};

TEST_F(ClockModelTest, SaysWhatChangedInTheOrderItsObserversRelyOn) {
  clock.setCounter(clock::Counter::Seconds, QStringLiteral("58"));
  log.clear();
  clock.startStop();
  EXPECT_EQ(log, (QStringList{"running", "started", "status"}));
  EXPECT_EQ(lastSaid, "The timer has been touched");

  log.clear();
  nowMs = 1'400;  // a tick a little late counts its own second
  clock.catchUp();
  EXPECT_EQ(log, (QStringList{"counters", "1"}));
  log.clear();
  nowMs = 3'000;  // a dropped tick loses nothing; the minute shows, then costs
  clock.catchUp();
  EXPECT_EQ(log, (QStringList{"counters", "cost", "counters", "2"}));
  EXPECT_EQ(shown(), "0:1:1 0.014");
  EXPECT_EQ(clock.runSeconds(), 3);

  log.clear();
  nowMs = 4'999;  // at a stop only the completed seconds count
  clock.startStop();
  EXPECT_EQ(log, (QStringList{"counters", "1", "not running", "stopped", "status"}));
  EXPECT_EQ(shown(), "0:1:2 0.014");
  clock.catchUp();  // a late tick of a stopped clock adds nothing
  EXPECT_EQ(shown(), "0:1:2 0.014");
}

TEST_F(ClockModelTest, AValueHandedBackUnchangedSaysNothing) {
  clock.setCounter(clock::Counter::Minutes, QStringLiteral("0"));
  clock.setCost(QStringLiteral("0"));
  clock.setCurrency(QString(), QString());
  EXPECT_TRUE(log.isEmpty()) << log.join(' ').toStdString();
  // A carry changes two counters and charges once, whoever typed it.
  clock.setCounter(clock::Counter::Seconds, QStringLiteral("60"));
  EXPECT_EQ(log, (QStringList{"counters", "cost"}));
  EXPECT_EQ(shown(), "0:1:0 0.014");
  EXPECT_EQ(clock.totalSeconds(), 60);
  // The journal's tariff is the classic one while no plan charges.
  clock.setTariff(QStringLiteral("Peak"));
  EXPECT_EQ(clock.tariffForJournal(), (std::pair<QString, double>{"Peak", 1.4}));
}

// The counters count on from whatever they hold, one tick a second: each
// minute completed carries and is charged at the classic rate, hours never
// wrap, a typed 60 carries at once but a typed 75 never does, and a counter
// holding odd text counts on from its leading number.
struct Counting {
  const char* name;
  const char* hours;
  const char* minutes;
  const char* seconds;  // typed last, as the boxes are read
  const char* rate;
  int ticks;
  const char* shown;  // counters and cost
};

class ClockCountingTest : public ClockModelTest, public testing::WithParamInterface<Counting> {};

TEST_P(ClockCountingTest, CountsOnAndChargesEachMinuteCompleted) {
  const Counting& c = GetParam();
  clock.setRate(QString::fromLatin1(c.rate));
  clock.setCounter(clock::Counter::Hours, QString::fromLatin1(c.hours));
  clock.setCounter(clock::Counter::Minutes, QString::fromLatin1(c.minutes));
  clock.setCounter(clock::Counter::Seconds, QString::fromLatin1(c.seconds));
  for (int i = 0; i < c.ticks; ++i) clock.tick();
  EXPECT_EQ(shown(), QString::fromLatin1(c.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Counters, ClockCountingTest,
    testing::Values(
        Counting{"FiftyNineTicksDoNotCarry", "0", "0", "0", "1.4", 59, "0:0:59 0"},
        Counting{"TheSixtiethChargesOneMinute", "0", "0", "0", "1.4", 60, "0:1:0 0.014"},
        Counting{"AnHourCarriesIntoHoursWithSixtyCharges", "0", "0", "0", "100", 3600, "1:0:0 60"},
        Counting{"HoursGoPastNinetyNineWithoutWrapping", "99", "59", "59", "0", 1, "100:0:0 0"},
        Counting{"SixtyTypedIntoSecondsCarriesAtOnce", "0", "0", "60", "0", 0, "0:1:0 0"},
        Counting{"SeventyFiveTypedNeverCarries", "0", "1", "75", "0", 10, "0:1:85 0"},
        Counting{"LenientTextCountsOnFromItsLeadingNumber", "0", "0", "12abc", "0", 1, "0:0:13 0"},
        Counting{"TextWithoutANumberCountsFromNothing", "0", "0", "abc", "0", 1, "0:0:1 0"}),
    [](const testing::TestParamInfo<Counting>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tempodial

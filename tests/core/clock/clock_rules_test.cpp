// The clock's rules: what a counter's new text does to the three counters,
// what one second more does, how real time becomes seconds on the clock, and
// the classic minute's charge on the cost box's text.
#include "core/clock/clock_rules.h"

#include <gtest/gtest.h>

#include "core/money/exact_cost.h"
#include "core/values/number_text.h"

namespace tempodial::clock {
namespace {

TEST(ClockRules, ACounterCarriesOnlyWhenItReadsExactlySixty) {
  struct Case {
    const char* name;
    Counters before;
    Counter counter;
    const char* text;
    Counters after;
    bool minuteDone;
  };
  const Case cases[] = {
      {"seconds 60 carry", {"0", "0", "0"}, Counter::Seconds, "60", {"0", "1", "0"}, true},
      {"seconds 75 stay", {"0", "0", "0"}, Counter::Seconds, "75", {"0", "0", "75"}, false},
      {"seconds 59 stay", {"0", "0", "0"}, Counter::Seconds, "59", {"0", "0", "59"}, false},
      {"seconds 61 stay", {"0", "0", "0"}, Counter::Seconds, "61", {"0", "0", "61"}, false},
      {"leading number counts", {"0", "4", "0"}, Counter::Seconds, "60abc", {"0", "5", "0"}, true},
      {"blanks inside", {"0", "4", "0"}, Counter::Seconds, " 6 0", {"0", "5", "0"}, true},
      {"60.0 is sixty", {"0", "4", "0"}, Counter::Seconds, "60.0", {"0", "5", "0"}, true},
      {"6e1 is sixty", {"0", "4", "0"}, Counter::Seconds, "6e1", {"0", "5", "0"}, true},
      {"letters are 0", {"0", "4", "9"}, Counter::Seconds, "abc", {"0", "4", "abc"}, false},
      {"two carries", {"2", "59", "0"}, Counter::Seconds, "60", {"3", "0", "0"}, true},
      {"minutes 60 carry", {"2", "0", "7"}, Counter::Minutes, "60", {"3", "0", "7"}, false},
      {"minutes 75 stay", {"2", "0", "7"}, Counter::Minutes, "75", {"2", "75", "7"}, false},
      {"minutes text kept", {"2", "0", "7"}, Counter::Minutes, "07", {"2", "07", "7"}, false},
      {"hours any text", {"2", "0", "7"}, Counter::Hours, "x60", {"x60", "0", "7"}, false},
      {"hours 60 stays", {"2", "0", "7"}, Counter::Hours, "60", {"60", "0", "7"}, false},
      {"hour of letters", {"abc", "59", "0"}, Counter::Seconds, "60", {"1", "0", "0"}, true},
      {"hours past 99", {"99", "59", "0"}, Counter::Seconds, "60", {"100", "0", "0"}, true},
  };
  for (const Case& c : cases) {
    Counters counters = c.before;
    EXPECT_EQ(set(counters, c.counter, c.text), c.minuteDone) << c.name;
    EXPECT_EQ(counters, c.after) << c.name;
  }
}

TEST(ClockRules, ATickAddsOneSecondAndCarries) {
  struct Case {
    Counters before;
    Counters after;
    bool minuteDone;
  };
  const Case cases[] = {
      {{"0", "0", "0"}, {"0", "0", "1"}, false},     {{"0", "0", "58"}, {"0", "0", "59"}, false},
      {{"0", "0", "59"}, {"0", "1", "0"}, true},     {{"0", "59", "59"}, {"1", "0", "0"}, true},
      {{"7", "75", "59"}, {"7", "76", "0"}, true},  // a typed 75 minutes goes on counting
      {{"0", "0", "75"}, {"0", "0", "76"}, false},  // and so do 75 seconds
      {{"0", "0", "1.5"}, {"0", "0", "2.5"}, false}, {{"0", "0", "-1"}, {"0", "0", "0"}, false},
      {{"0", "0", "abc"}, {"0", "0", "1"}, false},
  };
  for (const Case& c : cases) {
    Counters counters = c.before;
    EXPECT_EQ(tick(counters), c.minuteDone) << c.before.seconds;
    EXPECT_EQ(counters, c.after) << c.before.seconds;
  }
}

TEST(ClockRules, TheTimeOnTheClockReadsEachCounterAsANumber) {
  EXPECT_EQ(totalSeconds({"1", "2", "3"}), 3723);
  EXPECT_EQ(totalSeconds({"0", "75", "75"}), 4575);
  EXPECT_EQ(totalSeconds({"abc", "1x", " 3 0"}), 90);
  EXPECT_EQ(totalSeconds({"-1", "0", "0"}), -3600);
}

TEST(ClockRules, RealTimeBecomesWholeSecondsNearestAtATickCompletedAtAStop) {
  struct Case {
    std::int64_t elapsedMs, atTick, atStop;
  };
  const Case cases[] = {
      {0, 0, 0},
      {499, 0, 0},
      {500, 1, 0},
      {999, 1, 0},
      {1000, 1, 1},
      {1499, 1, 1},
      {1500, 2, 1},
      {59'999, 60, 59},
      {60'000, 60, 60},
      {3'600'400, 3600, 3600},
      {3'600'600, 3601, 3600},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dueAtTick(c.elapsedMs), c.atTick) << c.elapsedMs;
    EXPECT_EQ(dueAtStop(c.elapsedMs), c.atStop) << c.elapsedMs;
  }
}

TEST(MinuteCharge, AddsTheRateInPenceExactlyAndWritesAsTheBoxDoes) {
  struct Case {
    const char* cost;
    const char* rate;
    const char* after;
  };
  const Case cases[] = {
      {"0", "1.4", "0.014"},
      {"0.014", "1.4", "0.028"},
      {"0.1", "20", "0.3"},  // never 0.30000000000000004
      {"0.279999999999999", "0.1", "0.280999999999999"},
      {"0", "0.001", "1E-05"},  // the box's own form for small amounts
      {"1E-05", "0.001", "2E-05"},
      {"0", "0.0123456", "0.000123456"},
      {"abc", "1.4", "0.014"},
      {"2.5 pounds", "100", "3.5"},
      {"0", "abc", "0"},
      {"-0.5", "10", "-0.4"},
      {"1234567.89", "3", "1234567.92"},
      {"99999999999999", "100", "100000000000000"},
      {"1E+15", "100", "1E+15"},  // beyond exact digits: as the box always added
      {"0", "1E-20", "1E-22"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(costPlusMinute(c.cost, c.rate), c.after) << c.cost << " + " << c.rate;
  }
}

TEST(MinuteCharge, GivesTheTextTheClassicMeterGaveForEveryEverydayAmount) {
  // The classic meter added in binary floating point and wrote 15 digits:
  // for costs and rates with a few decimals the exact sum writes the same.
  const char* rates[] = {"1.4", "0.8", "2", "0.55", "12.345", "0.001", "7.77777"};
  for (const char* rate : rates) {
    std::string cost = "0";
    for (int minute = 0; minute < 3000; ++minute) {
      const std::string classic = writeNumber(readNumber(cost) + readNumber(rate) / 100);
      const std::string exact = costPlusMinute(cost, rate);
      ASSERT_EQ(exact, classic) << "rate " << rate << " after " << cost;
      cost = exact;
    }
  }
}

}  // namespace
}  // namespace tempodial::clock

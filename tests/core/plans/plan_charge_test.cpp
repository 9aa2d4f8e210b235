#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <variant>

#include "core/plans/cost_sum.h"
#include "core/plans/plan_file.h"
#include "core/plans/plan_quote.h"
#include "core/plans/plan_run.h"
#include "core/volume/data_volume.h"
#include "tests/core/plans/london_clock.h"

namespace tempodial::plans {
namespace {

using testing::london;
using testing::londonUtc;

Plan planOf(const char* text) {
  auto read = readPlan(text, "test");
  if (auto* error = std::get_if<PlanError>(&read)) ADD_FAILURE() << errorText("plan", *error);
  return std::get<Plan>(read);
}

// Evenings, weekends, Christmas Day and New Year's Day cheaper; the reader
// must skip the comments after the values.
constexpr const char* kSample =
    "[plan]\nname=Evening and weekend\ncurrency=£\nconnection=5 ; pence, once\nminimum=10\n"
    "step=60 ; a started step is charged in full\nrate=1.4\n[rule1]\ndays=mon-fri\n"
    "from=18:00 ; from > to runs across midnight\nto=08:00\nrate=0.5\n"
    "[rule2]\ndays=sat,sun\nrate=0.5\n[rule3]\ndates=12-25,01-01\nrate=0.5\n";
// The weekend cheaper than the weekday evening, to tell them apart.
constexpr const char* kCheapWeekend =
    "[plan]\nrate=1.4\nconnection=5\n[rule1]\ndays=mon-fri\nfrom=18:00\nto=08:00\nrate=0.5\n"
    "[rule2]\ndays=sat-sun\nrate=0.2\n";
// A rule from 01:00 to 03:00 on the days the clocks change in 2026.
constexpr const char* kChangeDays =
    "[plan]\nrate=1\n[rule1]\ndates=03-29,10-25\nfrom=01:00\nto=03:00\nrate=3\n";
constexpr const char* kByVolume = "[plan]\nrate=1\nper_mb=0.0125\nminimum=10\n";
// A one-off holiday, a range across the year's end, one of a given year.
constexpr const char* kHolidays =
    "[plan]\nrate=1.4\n[rule1]\ndates=2026-12-28\nrate=0.5\n[rule2]\ndates=12-24..01-02\n"
    "rate=0.2\n[rule3]\ndates=2027-04-02..2027-04-05\nrate=0.1\n";
// The whole day, written 00:00 to 24:00, on weekdays.
constexpr const char* kWholeWeekday =
    "[plan]\nrate=1.4\n[rule1]\ndays=mon-fri\nfrom=00:00\nto=24:00\nrate=0.5\n";

struct ChargeCase {
  const char* name;
  const char* plan;
  int y, m, d, hour, minute;  // London wall clock at the start
  std::int64_t seconds;
  Amount total;            // millionths of a pound: 1p is 10000
  std::int64_t bytes = 0;  // received and sent
};

class BoundaryTable : public ::testing::TestWithParam<ChargeCase> {};

TEST_P(BoundaryTable, ChargesEachStepAtTheRateInForceAtItsStart) {
  const ChargeCase& c = GetParam();
  PlanRun run(planOf(c.plan), londonUtc(c.y, c.m, c.d, c.hour, c.minute), london);
  run.countTo(c.seconds);
  run.countVolume(c.bytes);
  EXPECT_EQ(run.total(), c.total);
  // The running meter, counting second by second, ends at the same total.
  PlanRun meter(planOf(c.plan), londonUtc(c.y, c.m, c.d, c.hour, c.minute), london);
  for (std::int64_t s = 1; s <= c.seconds; ++s) {
    meter.countTo(s);
    meter.countVolume(c.bytes * s / c.seconds);
  }
  EXPECT_EQ(meter.total(), c.total);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, BoundaryTable,
    ::testing::Values(
        // 10 min at 1.4p, 50 at 0.5p, 5p connection.
        ChargeCase{"AcrossSixPm", kSample, 2026, 12, 7, 17, 50, 3600, 440000},
        // 30 min at 0.5p, 30 at 1.4p, 5p.
        ChargeCase{"AcrossEightAm", kSample, 2026, 12, 8, 7, 30, 3600, 620000},
        // Friday evening 30 min at 0.5p, Saturday 30 at 0.2p, 5p.
        ChargeCase{"AcrossMidnightIntoSaturday", kCheapWeekend, 2026, 12, 11, 23, 30, 3600, 260000},
        // A Friday noon: 20 min at 0.5p, 5p.
        ChargeCase{"OnChristmasDay", kSample, 2026, 12, 25, 12, 0, 1200, 150000},
        ChargeCase{"OnBoxingDayTheWeekdayRate", kSample, 2026, 12, 28, 12, 0, 1200, 330000},
        // 23-hour day: 01:00-03:00 holds one real hour. 60 min at 3p, 180 at 1p.
        ChargeCase{"OnTheShortDay", kChangeDays, 2026, 3, 29, 0, 0, 4 * 3600, 3600000},
        // 25-hour day: 01:00-03:00 holds three real hours. 180 at 3p, 60 at 1p.
        ChargeCase{"OnTheLongDay", kChangeDays, 2026, 10, 25, 0, 0, 4 * 3600, 6000000},
        // The clocks go forward inside a stretch of one rate: 00:30-00:59 GMT
        // at 1p, then 02:00-02:30 BST inside 01:30-02:30 at 3p.
        ChargeCase{"ForwardInsideAStretch",
                   "[plan]\nrate=1\n[rule1]\ndates=03-29\nfrom=01:30\nto=02:30\nrate=3\n", 2026, 3,
                   29, 0, 30, 3600, 1200000},
        // 61 s at 1.4p a minute: 1.42333p, to the nearest millionth of a pound.
        ChargeCase{"StepOf1sRun61s", "[plan]\nrate=1.4\nstep=1\n", 2026, 12, 7, 12, 0, 61, 14233},
        ChargeCase{"StepOf60sRun61s", "[plan]\nrate=1.4\nstep=60\n", 2026, 12, 7, 12, 0, 61, 28000},
        ChargeCase{"StepOf3600sRun61s", "[plan]\nrate=1.4\nstep=3600\n", 2026, 12, 7, 12, 0, 61,
                   840000},
        // 1.4p + 5p = 6.4p, raised to the 10p minimum (AcrossSixPm stays above it).
        ChargeCase{"MinimumAboveTheTotal", kSample, 2026, 12, 7, 12, 0, 60, 100000},
        ChargeCase{"RunOf0sCostsNothing", kSample, 2026, 12, 7, 12, 0, 0, 0},
        // 10 min at 1p, 1234.5678 MB at 0.0125p: 15.43209750p, to 15.4321p.
        ChargeCase{"VolumeByTheMb", kByVolume, 2026, 12, 7, 12, 0, 600, 254321, 1234567800},
        // 8 TB at 999p/MB: whole MB and the rest apart, no product overflows.
        ChargeCase{"HugeVolume", "[plan]\nrate=0\nper_mb=999\n", 2026, 12, 7, 12, 0, 1,
                   79920000000000, 8000000000000},
        // 10 TB at the largest rate per MB, and a step at the largest rate.
        ChargeCase{"LargestOfAll", "[plan]\nrate=999999.9999\nper_mb=999999.9999\n", 2026, 12, 7,
                   12, 0, 1, 99999999990000000 + 9999999999, 10000000000000},
        // Rounded once: 14233.33 for the time and 125.25 for 1.002 MB are
        // 14358.58 millionths, so 14359 (not 14233 + 125).
        ChargeCase{"RoundedOnceAtTheEnd", "[plan]\nrate=1.4\nstep=1\nper_mb=0.0125\n", 2026, 12, 7,
                   12, 0, 61, 14359, 1002000},
        // 20 min: a one-off holiday, a range across New Year, a dated range,
        // and the same day of another year at the default rate.
        ChargeCase{"OnAOneOffHoliday", kHolidays, 2026, 12, 28, 12, 0, 1200, 100000},
        ChargeCase{"OnNewYearsDayInTheRange", kHolidays, 2027, 1, 1, 12, 0, 1200, 40000},
        ChargeCase{"InTheDatedRange", kHolidays, 2027, 4, 3, 12, 0, 1200, 20000},
        ChargeCase{"AYearLaterTheDefault", kHolidays, 2028, 4, 3, 12, 0, 1200, 280000},
        // 00:00 to 24:00 is the whole day: 30 min at 0.5p from 23:30 Friday,
        // then 30 at the default rate into Saturday.
        ChargeCase{"WholeDayFromMidnightToMidnight", kWholeWeekday, 2026, 12, 11, 23, 30, 3600,
                   150000 + 420000}),
    [](const auto& info) { return std::string(info.param.name); });

// 1p a MB beyond 100 MB a month; the billing month ends at midnight on the
// 15th, half an hour into each run.
constexpr const char* kAllowance = "[plan]\nrate=0\nper_mb=1\nallowance_mb=100\n";
constexpr std::int64_t kMb = 1000000;

struct AllowanceCase {
  const char* name;
  const char* plan;
  std::int64_t usedBefore, beforeReset, afterReset;  // MB
  std::int64_t charged;                              // MB charged at 1p
};

class AllowanceTable : public ::testing::TestWithParam<AllowanceCase> {};

TEST_P(AllowanceTable, ChargesOnlyWhatLiesBeyondTheAllowanceOfEachBillingMonth) {
  const AllowanceCase& c = GetParam();
  const std::int64_t start = londonUtc(2026, 12, 14, 23, 30);
  const std::int64_t reset = londonUtc(2026, 12, 15, 0, 0);
  PlanRun run(planOf(c.plan), start, london);
  run.setAllowance(c.usedBefore * kMb,
                   [reset](std::int64_t at) { return at < reset ? reset : at + 31 * 86400; });
  // Read each second: the old month's bytes by 23:47, the new month's after midnight.
  for (std::int64_t s = 1; s <= 3600; ++s) {
    run.countTo(s);
    const std::int64_t month = std::min<std::int64_t>(s, 1000) * c.beforeReset * kMb / 1000;
    run.countVolume(month + std::max<std::int64_t>(s - 1800, 0) * c.afterReset * kMb / 1800);
  }
  EXPECT_EQ(run.chargedVolume(), c.charged * kMb);
  EXPECT_EQ(run.dataCharge(), c.charged * run.plan().perMb);
  // Midnight began a month of its own.
  EXPECT_EQ(run.monthUsed(), c.afterReset * kMb);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, AllowanceTable,
    ::testing::Values(AllowanceCase{"Inside", kAllowance, 0, 50, 0, 0},
                      AllowanceCase{"ExactlyAtIt", kAllowance, 40, 60, 0, 0},
                      AllowanceCase{"BeyondIt", kAllowance, 0, 150, 0, 50},
                      AllowanceCase{"RunCrossesIt", kAllowance, 80, 50, 0, 30},
                      AllowanceCase{"UsedUpBefore", kAllowance, 200, 10, 0, 10},
                      // 10 MB beyond in the old month; the new one starts with
                      // 100 MB free, so 50 of its 150 are charged.
                      AllowanceCase{"AcrossTheBillingDay", kAllowance, 90, 20, 150, 60},
                      AllowanceCase{"FreshMonthInside", kAllowance, 150, 0, 90, 0},
                      AllowanceCase{"NoAllowanceChargesAll", kByVolume, 500, 20, 30, 50},
                      AllowanceCase{"AllowanceAloneChargesNothing",
                                    "[plan]\nrate=0\nallowance_mb=100\n", 0, 500, 0, 400}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlanQuote, GivesTheTotalFirstAndOneLinePerRatePeriodNamedAsItChanges) {
  PlanRun run(planOf(kSample), londonUtc(2026, 12, 7, 17, 50), london);
  run.countTo(*parseDuration("1:00:00"));
  EXPECT_EQ(quoteText(run),
            "£0.44  Evening and weekend, 1:00:00 from Mon 7 Dec 17:50\n"
            "  17:50-18:00      10 min at 1.4p      £0.14\n"
            "  18:00-18:50      50 min at 0.5p      £0.25\n"
            "  connection                           £0.05\n");
  ASSERT_EQ(run.periods().size(), 2u);
  EXPECT_EQ(rateChangeText(run.plan(), run.periods()[0], london), "Standard rate 1.4p from 17:50");
  EXPECT_EQ(rateChangeText(run.plan(), run.periods()[1], london), "Off-peak rate 0.5p from 18:00");
  EXPECT_FALSE(parseDuration("1:60:00"));
  EXPECT_FALSE(parseDuration("90"));
  EXPECT_FALSE(parseDuration("1000:00:00"));

  // With --data: a line for the volume's charge (31312.5 millionths, halves up), in the total.
  PlanRun data(planOf(kByVolume), londonUtc(2026, 12, 7, 12, 0), london);
  data.countTo(*parseDuration("0:10:00"));
  data.countVolume(*parseMegabytes("250.5"));
  EXPECT_EQ(quoteText(data),
            "£0.131313  test, 0:10:00 from Mon 7 Dec 12:00\n"
            "  12:00-12:10      10 min at 1p        £0.10\n"
            "  data 250.5 MB at 0.0125p/MB          £0.031313\n");
  // Under an allowance the line says how much lies beyond it, and the
  // month's use before the run follows.
  PlanRun allowance(planOf(kAllowance), londonUtc(2026, 12, 7, 12, 0), london);
  allowance.setAllowance(90 * kMb, [](std::int64_t at) { return at + 86400; });
  allowance.countVolume(25 * kMb);
  allowance.countTo(*parseDuration("0:10:00"));
  EXPECT_EQ(quoteText(allowance),
            "£0.15  test, 0:10:00 from Mon 7 Dec 12:00\n"
            "  12:00-12:10      10 min at 0p        £0.00\n"
            "  data 25 MB (15 beyond allowance) at 1p/MB  £0.15\n"
            "  allowance 100 MB a month, 90 MB used before\n");
  EXPECT_FALSE(parseMegabytes("12.1234567"));
  EXPECT_EQ(megabytesText(*parseMegabytes("0.000001")), "0.000001");
}

// The charge step by step, as it was first written: the reference the
// charge by rule boundaries must agree with.
Amount chargeStepByStep(const Plan& plan, std::int64_t start, std::int64_t seconds) {
  std::int64_t sixtieths = 0;
  for (std::int64_t at = 0; at < seconds; at += plan.step) {
    const auto rule = ruleInForce(plan, london(start + at));
    sixtieths += (rule ? plan.rules[*rule].rate : plan.rate) * plan.step;
  }
  return seconds == 0 ? 0 : std::max(plan.connection + (sixtieths + 30) / 60, plan.minimum);
}

TEST(ChargeByRuleBoundaries, AgreesWithTheStepByStepChargeOnRandomPlans) {
  std::mt19937 random(31);
  const auto pick = [&random](int from, int to) {
    return std::uniform_int_distribution<int>(from, to)(random);
  };
  for (int round = 0; round < 200; ++round) {
    Plan plan;
    plan.rate = pick(0, 30000);
    plan.step = std::array{1, 7, 30, 60, 900, 3600}[static_cast<std::size_t>(pick(0, 5))];
    plan.connection = pick(0, 1) * 50000;
    plan.minimum = pick(0, 1) * 100000;
    for (int r = pick(0, 3) == 0 ? pick(20, 80) : pick(0, 6); r > 0; --r) {
      Rule rule;
      rule.rate = pick(0, 30000);
      if (pick(0, 1)) rule.days = static_cast<unsigned>(pick(1, 127));
      if (pick(0, 2) == 0) rule.dates = {pick(1, 12) * 100 + pick(1, 28)};
      if (pick(0, 3) == 0) rule.ranges = {{pick(1, 12) * 100 + 1, pick(1, 12) * 100 + 28}};
      if (pick(0, 2) != 0) {
        rule.fromMin = pick(0, 1439);
        rule.toMin = (*rule.fromMin + pick(1, 1439)) % 1440;
      }
      plan.rules.push_back(rule);
    }
    // Across the changes of the clocks too: the last Sundays of March and October.
    const int month = std::array{3, 10, 12}[static_cast<std::size_t>(pick(0, 2))];
    const std::int64_t start =
        londonUtc(2026, month, pick(20, 31), pick(0, 23), pick(0, 59)) + pick(0, 59);
    const std::int64_t seconds =
        pick(0, 3) == 0 ? pick(0, 200) : pick(0, plan.step < 30 ? 6 * 3600 : 2 * 86400);
    PlanRun run(plan, start, london);
    run.countTo(seconds);
    ASSERT_EQ(run.total(), chargeStepByStep(plan, start, seconds))
        << planText(plan) << "start " << start << ", " << seconds << " s";
  }
}

TEST(ChargeByRuleBoundaries, LooksAtTheClockOnlyWhereTheRateCanChange) {
  // 999:59:59 in 1-second steps under a rule a night: a few looks a day,
  // not one a second.
  std::int64_t looks = 0;
  const LocalClock counting = [&looks](std::int64_t utc) {
    ++looks;
    return london(utc);
  };
  PlanRun run(planOf(kSample), londonUtc(2026, 12, 7, 17, 50), counting);
  run.countTo(*parseDuration("999:59:59"));
  EXPECT_LT(looks, 2000);
  EXPECT_EQ(run.total(), chargeStepByStep(run.plan(), run.startUtc(), 3599999));
}

TEST(LocalTimes, InTheGapAreNoneAndInTheRepeatedHourTwo) {
  const auto moments = [](int date, int hour, int minute) {
    return momentsOf(london, date, hour * 3600 + minute * 60);
  };
  EXPECT_EQ(moments(20260329, 1, 30), std::vector<std::int64_t>{});
  EXPECT_EQ(moments(20260329, 2, 0), std::vector<std::int64_t>{londonUtc(2026, 3, 29, 2, 0)});
  const std::int64_t first = londonUtc(2026, 10, 25, 1, 30);
  EXPECT_EQ(moments(20261025, 1, 30), (std::vector<std::int64_t>{first, first + 3600}));
  EXPECT_EQ(moments(20261207, 17, 50), std::vector<std::int64_t>{londonUtc(2026, 12, 7, 17, 50)});
}

TEST(CostUnderAPlan, AddsTheChargeExactlyToWhatTheBoxHeld) {
  EXPECT_EQ(costPlus("0", 440000), "0.44");
  EXPECT_EQ(costPlus("0.014", 14233), "0.028233");
  EXPECT_EQ(costPlus("0.1", 200000), "0.3");  // not 0.30000000000000004
  EXPECT_EQ(costPlus(" 1 2abc", 0), "12");
  EXPECT_EQ(costPlus("letters", 50000), "0.05");
  EXPECT_EQ(costPlus("-0.5", 100000), "-0.4");
  EXPECT_EQ(costPlus("1e-7", 0), "0.0000001");
  EXPECT_EQ(costPlus("1E-05", 1), "0.000011");  // the classic box's small form read back
}

}  // namespace
}  // namespace tempodial::plans

#include <gtest/gtest.h>

#include <variant>

#include "core/plans/plan_file.h"

namespace tempodial::plans {
namespace {

TEST(PlanFile, ReadsEveryKeyAndWritesTextThatReadsBackTheSame) {
  const char* text =
      "\xEF\xBB\xBF; a shared plan\r\n[plan]\r\nname=Evening and weekend\r\ncurrency=$\r\n"
      "connection=5\r\nminimum=10.25\r\nstep=30\r\nrate=1.4\r\n[rule1]\r\nname=Night\r\n"
      "days=fri-mon,wed\r\nfrom=18:00\r\nto=24:00\r\nrate=0.5\r\n[rule2]\r\n"
      "dates=12-25,01-01\r\nrate=0\r\n";
  const Plan plan = std::get<Plan>(readPlan(text, "file name"));
  EXPECT_EQ(plan.name, "Evening and weekend");
  EXPECT_EQ(plan.currency, "$");
  EXPECT_EQ(plan.connection, 50000);
  EXPECT_EQ(plan.minimum, 102500);
  EXPECT_EQ(plan.step, 30);
  EXPECT_EQ(plan.rate, 14000);
  ASSERT_EQ(plan.rules.size(), 2u);
  EXPECT_EQ(plan.rules[0].days, 0b1110101u);
  EXPECT_EQ(plan.rules[0].fromMin, 18 * 60);
  EXPECT_EQ(plan.rules[0].toMin, 0);
  EXPECT_EQ(plan.rules[1].dates, (std::vector<int>{1225, 101}));
  EXPECT_EQ(daysText(plan.rules[0].days), "mon,wed,fri-sun");

  const Plan again = std::get<Plan>(readPlan(planText(plan), "other"));
  EXPECT_EQ(planText(again), planText(plan));
  EXPECT_EQ(again.rules[0].days, plan.rules[0].days);
  EXPECT_EQ(again.rules[1].dates, plan.rules[1].dates);
  EXPECT_EQ(std::get<Plan>(readPlan("[plan]\nrate=1\n", "From file")).name, "From file");
  const Plan byVolume = std::get<Plan>(readPlan("[plan]\nrate=1\nper_mb=0.0125\n", "x"));
  EXPECT_EQ(byVolume.perMb, 125);
  EXPECT_EQ(std::get<Plan>(readPlan(planText(byVolume), "x")).perMb, 125);
}

struct BadFile {
  const char* name;
  const char* text;
  int line;
  const char* key;
};

class BadPlanFiles : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadPlanFiles, AreRefusedNamingTheLineAndKey) {
  const BadFile& bad = GetParam();
  const auto read = readPlan(bad.text, "x");
  ASSERT_TRUE(std::holds_alternative<PlanError>(read));
  const PlanError& error = std::get<PlanError>(read);
  EXPECT_EQ(error.line, bad.line) << error.what;
  EXPECT_EQ(error.key, bad.key) << error.what;
}

INSTANTIATE_TEST_SUITE_P(
    Plans, BadPlanFiles,
    ::testing::Values(
        BadFile{"Empty", "", 0, ""}, BadFile{"NoDefaultRate", "[plan]\nstep=60\n", 0, "rate"},
        BadFile{"RateNotANumber", "[plan]\nrate=cheap\n", 2, "rate"},
        BadFile{"RateWithComma", "[plan]\nrate=1,4\n", 2, "rate"},
        BadFile{"RateTooFine", "[plan]\nrate=0.00001\n", 2, "rate"},
        BadFile{"NegativeRate", "[plan]\nrate=-1\n", 2, "rate"},
        BadFile{"RateTooLarge", "[plan]\nrate=1000000\n", 2, "rate"},
        BadFile{"UnknownKey", "[plan]\nrate=1\nrates=2\n", 3, "rates"},
        BadFile{"RuleKeyInPlan", "[plan]\nrate=1\ndays=mon\n", 3, "days"},
        BadFile{"UnknownSection", "[plan]\nrate=1\n[extra]\n", 3, ""},
        BadFile{"KeyTwice", "[plan]\nrate=1\nrate=2\n", 3, "rate"},
        BadFile{"StepZero", "[plan]\nrate=1\nstep=0\n", 3, "step"},
        BadFile{"StepTooLong", "[plan]\nrate=1\nstep=3601\n", 3, "step"},
        BadFile{"UnknownDay", "[plan]\nrate=1\n[rule1]\ndays=mon-fry\nrate=1\n", 4, "days"},
        BadFile{"BadDate", "[plan]\nrate=1\n[rule1]\ndates=02-30\nrate=1\n", 4, "dates"},
        BadFile{"BadTime", "[plan]\nrate=1\n[rule1]\nfrom=25:00\nto=08:00\nrate=1\n", 4, "from"},
        BadFile{"FromEqualsTo", "[plan]\nrate=1\n[rule1]\nfrom=08:00\nto=08:00\n", 3, "to"},
        BadFile{"FromWithoutTo", "[plan]\nrate=1\n[rule1]\nfrom=08:00\n", 3, "to"},
        BadFile{"PerMbNotExact", "[plan]\nrate=1\nper_mb=1e-3\n", 3, "per_mb"},
        BadFile{"PerMbInRule", "[plan]\nrate=1\n[rule1]\nper_mb=1\nrate=1\n", 4, "per_mb"},
        BadFile{"NotKeyValue", "[plan]\nrate 1\n", 2, ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tempodial::plans

#include <gtest/gtest.h>

#include <string_view>
#include <variant>

#include "core/plans/plan_file.h"

namespace tempodial::plans {
namespace {

TEST(PlanFile, ReadsEveryKeyAndWritesTextThatReadsBackTheSame) {
  const char* text =
      "\xEF\xBB\xBF; a shared plan\r\n[plan]\r\nname=Evening and weekend\r\ncurrency=$\r\n"
      "connection=5\r\nminimum=10.25\r\nstep=30\r\nrate=1.4\r\nper_mb=0.0125\r\n"
      "allowance_mb=20000.5\r\n[rule1]\r\n"
      "name=Night\r\ndays=fri-mon,wed\r\nfrom=18:00\r\nto=24:00\r\nrate=0.5\r\n[rule2]\r\n"
      "dates=12-25,01-01\r\nrate=0\r\n";
  const Plan plan = std::get<Plan>(readPlan(text, "file name"));
  EXPECT_EQ(plan.minimum, 102500);
  EXPECT_EQ(plan.rules.at(0).days, 0b1110101u);
  EXPECT_EQ(plan.rules.at(1).dates, (std::vector<int>{1225, 101}));
  EXPECT_EQ(planText(plan),
            "[plan]\nname=Evening and weekend\ncurrency=$\nconnection=5\nminimum=10.25\nstep=30\n"
            "rate=1.4\nper_mb=0.0125\nallowance_mb=20000.5\n\n[rule1]\nname=Night\ndays=mon,wed,"
            "fri-sun\nfrom=18:00\n"
            "to=00:00\nrate=0.5\n\n[rule2]\ndates=12-25,01-01\nrate=0\n");
  EXPECT_EQ(planText(std::get<Plan>(readPlan(planText(plan), "other"))), planText(plan));
  EXPECT_EQ(std::get<Plan>(readPlan("[plan]\nrate=1\n", "From file")).name, "From file");

  // Dates with a year, ranges (across the year's end too), the whole day
  // and the plan's days of validity, written back as they were given.
  const char* dated =
      "[plan]\nname=Holidays\t\U0001F384\ncurrency=€\nconnection=0\nminimum=0\nstep=60\nrate=1\n"
      "valid_from=2026-12-01\nvalid_until=2027-12-31\n\n[rule1]\n"
      "dates=2026-12-28,2028-02-29,12-24..01-02,2027-04-02..2027-04-05\nfrom=00:00\nto=24:00\n"
      "rate=0.5\n";
  const Plan holidays = std::get<Plan>(readPlan(dated, "x"));
  EXPECT_EQ(holidays.validUntil, 20271231);
  EXPECT_EQ(holidays.rules.at(0).dates, (std::vector<RuleDate>{20261228, 20280229}));
  EXPECT_EQ(holidays.rules.at(0).ranges,
            (std::vector<DateRange>{{1224, 102}, {20270402, 20270405}}));
  EXPECT_EQ(planText(holidays), dated);
}

// The tab is the one control character a name may hold; the no-break space
// after the C1 controls is text.
TEST(PlanFile, TabAndNoBreakSpaceAreText) {
  const auto read = readPlan(
      "[plan]\nrate=1\nname=a\tb\xC2\xA0"
      "c\n",
      "x");
  ASSERT_TRUE(std::holds_alternative<Plan>(read));
  EXPECT_EQ(std::get<Plan>(read).name,
            "a\tb\xC2\xA0"
            "c");
}

struct BadFile {
  const char* name;
  std::string_view text;
  int line;
  const char* key;
  const char* says = "";  // a part of the reason, where it matters
};

class BadPlanFiles : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadPlanFiles, AreRefusedNamingTheLineAndKey) {
  const BadFile& bad = GetParam();
  const auto read = readPlan(bad.text, "x");
  const auto* error = std::get_if<PlanError>(&read);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->line, bad.line) << error->what;
  EXPECT_EQ(error->key, bad.key) << error->what;
  EXPECT_FALSE(error->what.empty());  // the reason shown beside the line and key
  EXPECT_NE(error->what.find(bad.says), std::string::npos) << error->what;
  EXPECT_EQ(error->what.find('\0'), std::string::npos) << error->what;
}

INSTANTIATE_TEST_SUITE_P(
    Plans, BadPlanFiles,
    ::testing::Values(
        BadFile{"Empty", "", 0, ""}, BadFile{"NoDefaultRate", "[plan]\nstep=60\n", 0, "rate"},
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
        BadFile{"AllowanceInGigabytes", "[plan]\nrate=1\nallowance_mb=20GB\n", 3, "allowance_mb"},
        BadFile{"PerMbInRule", "[plan]\nrate=1\n[rule1]\nper_mb=1\nrate=1\n", 4, "per_mb"},
        BadFile{"NotKeyValue", "[plan]\nrate 1\n", 2, ""},
        // Every rule has a rate, one [plan], rules numbered.
        BadFile{"RuleWithoutRate", "[plan]\nrate=1\n[rule1]\ndays=sat\n", 3, "rate"},
        BadFile{"SecondPlan", "[plan]\nrate=1\n[plan]\nrate=2\n", 3, ""},
        BadFile{"RuleNotNumbered", "[plan]\nrate=1\n[rules]\nrate=1\n", 3, "", "[rule1]"},
        BadFile{"RuleTwice", "[plan]\nrate=1\n[rule1]\nrate=1\n[rule1]\nrate=2\n", 5, ""},
        // UTF-8 text only, no control bytes: the message names line and key.
        BadFile{"Latin1Pound", "[plan]\nrate=1\ncurrency=\xA3\n", 3, "currency", "0xA3"},
        BadFile{"OverlongSlash", "[plan]\nname=\xC0\xAF\nrate=1\n", 2, "name", "UTF-8"},
        BadFile{"Surrogate", "[plan]\nname=\xED\xA0\x80\nrate=1\n", 2, "name", "UTF-8"},
        BadFile{"BeyondUnicode", "[plan]\nname=\xF4\x90\x80\x80\nrate=1\n", 2, "name", "UTF-8"},
        BadFile{"CutSequence", "[plan]\nrate=1\nname=\xE2\x82", 3, "name", "UTF-8"},
        BadFile{"NulInValue", std::string_view("[plan]\nrate=1\0x\n", 15), 2, "rate", "0x00"},
        // Only the tab among the control characters: a carriage return, DEL
        // or a C1 control would make a terminal show what the file does not say.
        BadFile{"CarriageReturnInName",
                "[plan]\nrate=1\nname=Cheap\r\xC2\xA3"
                "0.01  Cheap\n",
                3, "name", "0x0D"},
        BadFile{"DeleteInCurrency", "[plan]\nrate=1\ncurrency=\x7F\n", 3, "currency", "0x7F"},
        BadFile{"FirstC1InName", "[plan]\nname=a\xC2\x80z\nrate=1\n", 2, "name", "U+0080"},
        BadFile{"CsiInRuleName",
                "[plan]\nrate=1\n[rule1]\nname=\xC2\x9B"
                "31m\nrate=1\n",
                4, "name", "U+009B"},
        BadFile{"LastC1InCurrency", "[plan]\nrate=1\ncurrency=\xC2\x9F\n", 3, "currency", "U+009F"},
        BadFile{"EscapeInSection", "[plan]\nrate=1\n[rule1\x1B]\n", 3, "", "0x1B"},
        // Out of range says the range.
        BadFile{"RateTooLarge7Digits", "[plan]\nrate=1000000\n", 2, "rate", "at most 999999.9999"},
        BadFile{"RateWithLeadingZeros", "[plan]\nrate=0000001\n", 2, "rate", "6 digits before"},
        BadFile{"ConnectionTooFine", "[plan]\nrate=1\nconnection=0.00001\n", 3, "connection",
                "4 decimal places"},
        BadFile{"StepOverflows", "[plan]\nrate=1\nstep=x1410065468\n", 3, "step"},
        BadFile{"StepNotANumber", "[plan]\nrate=1\nstep=6x\n", 3, "step"},
        BadFile{"StepHuge", "[plan]\nrate=1\nstep=4294967356\n", 3, "step"},
        // Dates with years and ranges, and a plan's days of validity.
        BadFile{"NoLeapDay", "[plan]\nrate=1\n[rule1]\ndates=2100-02-29\nrate=1\n", 4, "dates"},
        BadFile{"YearBeforeOneHundred", "[plan]\nrate=1\n[rule1]\ndates=0026-12-28\nrate=1\n", 4,
                "dates"},
        BadFile{"YearAtOneEnd", "[plan]\nrate=1\n[rule1]\ndates=12-24..2027-01-02\nrate=1\n", 4,
                "dates", "one end"},
        BadFile{"RangeBackwards", "[plan]\nrate=1\n[rule1]\ndates=2027-04-05..2027-04-02\nrate=1\n",
                4, "dates", "before it starts"},
        BadFile{"RangeOpen", "[plan]\nrate=1\n[rule1]\ndates=12-24..\nrate=1\n", 4, "dates"},
        BadFile{"ValidFromWithoutYear", "[plan]\nrate=1\nvalid_from=01-01\n", 3, "valid_from"},
        BadFile{"ValidUntilFirst",
                "[plan]\nrate=1\nvalid_until=2027-01-01\nvalid_from=2027-01-02\n", 3,
                "valid_until"},
        BadFile{"ToMidnightFromMidnightOnly",
                "[plan]\nrate=1\n[rule1]\nfrom=00:00\nto=00:00\n"
                "rate=1\n",
                3, "to"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tempodial::plans

// The history's rules: durations, session costs, currency sums, local days,
// ISO times, CSV fields, and the limit warnings.
#include "core/history/history.h"

#include <gtest/gtest.h>

#include "core/history/csv_text.h"
#include "core/history/limits.h"

namespace tempodial {
namespace {

TEST(HistoryTexts, DurationsCostsAndAmounts) {
  EXPECT_EQ(durationText(0), "0:00:00");
  EXPECT_EQ(durationText(3909), "1:05:09");
  EXPECT_EQ(durationText(90000), "25:00:00");
  EXPECT_EQ(durationText(-5), "0:00:00");
  EXPECT_EQ(durationText(360000005), "100000:00:05");

  EXPECT_EQ(sessionCost("0.5", "1.424"), Amount{924000});
  EXPECT_EQ(sessionCost("", "2"), Amount{2000000});
  EXPECT_EQ(sessionCost("5", "1"), Amount{});  // the box was typed over
  EXPECT_EQ(sessionCost("1e2", "1.5e2"), Amount{50000000});

  EXPECT_EQ(amountText("£", sessionCost("0.1", "0.4")), "£0.3");
  EXPECT_EQ(amountText("$", Amount{12000000}), "$12");
  EXPECT_EQ(amountText("Fr", Amount{3500000}), "Fr 3.5");
  EXPECT_EQ(amountText("", Amount{1000000}), "1");
}

TEST(HistoryTexts, CurrencyTotalsNeverMixCurrencies) {
  CurrencyTotals totals;
  EXPECT_EQ(totals.text(), "0");
  totals.add("£", Amount::fromText("1.25"));
  totals.add("Fr", Amount::fromText("3"));
  totals.add("£", Amount::fromText("0.5"));
  CurrencyTotals more;
  more.add("$", Amount::fromText("2"));
  more.add("Fr", Amount::fromText("1"));
  totals.add(more);
  EXPECT_EQ(totals.text(), "£1.75 + Fr 4 + $2");
  EXPECT_EQ(totals.amountIn("Fr"), Amount{4000000});
  EXPECT_EQ(totals.amountIn("F"), Amount{});
}

TEST(HistoryDays, LocalDatesAndTimesAtEveryOffset) {
  struct Case {
    std::int64_t utc;
    int offset;
    const char* date;
    const char* iso;
  };
  const Case cases[] = {
      {0, 0, "1970-01-01", "1970-01-01T00:00:00+00:00"},
      {-1, 0, "1969-12-31", "1969-12-31T23:59:59+00:00"},
      {1796684400, 3600, "2026-12-08", "2026-12-08T00:00:00+01:00"},
      {1796684399, 3600, "2026-12-07", "2026-12-07T23:59:59+01:00"},
      {1775014200, -5 * 3600, "2026-03-31", "2026-03-31T22:30:00-05:00"},
      {1709164800, 19800, "2024-02-29", "2024-02-29T05:30:00+05:30"},  // leap day
      {4102444800, -12 * 3600, "2099-12-31", "2099-12-31T12:00:00-12:00"},
      {951782400, 14 * 3600, "2000-02-29", "2000-02-29T14:00:00+14:00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dateText(localDate(c.utc, c.offset)), c.date) << c.utc;
    EXPECT_EQ(isoLocalTime(c.utc, c.offset), c.iso) << c.utc;
  }
  // Every day of four centuries goes there and back.
  for (std::int64_t day = -200000; day < 200000; day += 7) {
    const CivilDate date = localDate(day * 86400, 0);
    ASSERT_EQ(daysFromCivil(date), day * 86400) << dateText(date);
  }
}

TEST(HistoryCsv, FieldsAreQuotedOnlyWhenTheyMustBe) {
  struct Case {
    const char* text;
    const char* field;
  };
  const Case cases[] = {
      {"", ""},
      {"Peak", "Peak"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {"cr\r", "\"cr\r\""},
      {" lead", "\" lead\""},
      {"£ 1", "£ 1"},
  };
  for (const Case& c : cases) EXPECT_EQ(csvField(c.text), c.field) << c.text;
  std::string out;
  appendCsvRecord(out, {"a", "b,c", ""});
  appendCsvRecord(out, {"\""});
  EXPECT_EQ(out, "a,\"b,c\",\r\n\"\"\"\"\r\n");
}

// Texts that a spreadsheet would take for a formula are written as text.
TEST(HistoryCsv, FormulaStartsGetAQuoteAndAllElseStaysAsItIs) {
  for (const char* formula : {"=1+2", "+1", "-2+3", "@SUM(A1)", "\t=1", "\r=1"}) {
    EXPECT_EQ(spreadsheetText(formula), std::string("'") + formula);
  }
  for (const char* text : {"Day", "£", "a=b", "", " =1"}) EXPECT_EQ(spreadsheetText(text), text);
}

TEST(LimitWarnings, EachMarkOncePerLimitAndPeriod) {
  EXPECT_EQ(percentReached(47, 60), 0);
  EXPECT_EQ(percentReached(48, 60), 80);
  EXPECT_EQ(percentReached(60, 60), 100);
  EXPECT_EQ(percentReached(5, 0), 0);

  Limits limits;
  limits.dayTime = 3600;
  limits.monthCost = 10;
  LimitWatch watch;
  Usage usage{"2026-12-07", "2026-12", 2000, 2000, {}, Amount::fromText("7.9")};
  EXPECT_TRUE(watch.check(usage, limits).empty());
  usage.daySeconds = 2880;
  EXPECT_EQ(watch.check(usage, limits), (std::vector<LimitWarning>{{LimitKind::DayTime, 80}}));
  EXPECT_TRUE(watch.check(usage, limits).empty());
  usage.daySeconds = 3000;
  usage.monthCost = Amount::fromText("8");
  EXPECT_EQ(watch.check(usage, limits), (std::vector<LimitWarning>{{LimitKind::MonthCost, 80}}));
  // Past both marks at once: only the 100 % warning.
  usage.daySeconds = 9999;
  usage.monthCost = Amount::fromText("12");
  EXPECT_EQ(watch.check(usage, limits),
            (std::vector<LimitWarning>{{LimitKind::DayTime, 100}, {LimitKind::MonthCost, 100}}));
  EXPECT_TRUE(watch.check(usage, limits).empty());
  // A new day warns again of the day's limit, not of the month's.
  usage.day = "2026-12-08";
  EXPECT_EQ(watch.check(usage, limits), (std::vector<LimitWarning>{{LimitKind::DayTime, 100}}));
  // What was given is kept between runs.
  LimitWatch later;
  later.setGiven(LimitKind::DayTime, watch.given(LimitKind::DayTime));
  later.setGiven(LimitKind::MonthCost, watch.given(LimitKind::MonthCost));
  EXPECT_TRUE(later.check(usage, limits).empty());
  // Data limits count bytes received and sent, day and month apart.
  limits.dayData = 100'000'000;
  limits.monthData = 5'000'000'000;
  usage.dayBytes = 79'999'999;
  usage.monthBytes = 4'000'000'000;
  EXPECT_EQ(later.check(usage, limits), (std::vector<LimitWarning>{{LimitKind::MonthData, 80}}));
  usage.dayBytes = 80'000'000;
  EXPECT_EQ(later.check(usage, limits), (std::vector<LimitWarning>{{LimitKind::DayData, 80}}));

  EXPECT_EQ(warningText({LimitKind::DayTime, 80}), "80 % of today's time limit used");
  EXPECT_EQ(warningText({LimitKind::MonthCost, 100}), "100 % of this month's cost limit used");
  EXPECT_EQ(warningText({LimitKind::DayCost, 80}), "80 % of today's cost limit used");
  EXPECT_EQ(warningText({LimitKind::MonthTime, 100}), "100 % of this month's time limit used");
}

}  // namespace
}  // namespace tempodial

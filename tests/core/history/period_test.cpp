// Days, months from a billing day and years: where each begins and ends,
// what follows and precedes it, and how it is named.
#include "core/history/period.h"

#include <gtest/gtest.h>

namespace tempodial {
namespace {

TEST(Periods, BillingMonthsAtMonthEndsLeapYearsAndYearEnds) {
  struct Case {
    CivilDate date;
    int billingDay;
    const char* first;
    const char* last;
    const char* label;
  };
  const Case cases[] = {
      {{2026, 12, 7}, 1, "2026-12-01", "2026-12-31", "December 2026"},
      {{2028, 2, 29}, 1, "2028-02-01", "2028-02-29", "February 2028"},
      {{2026, 12, 15}, 15, "2026-12-15", "2027-01-14", "15 Dec - 14 Jan"},
      {{2026, 12, 14}, 15, "2026-11-15", "2026-12-14", "15 Nov - 14 Dec"},
      {{2027, 1, 1}, 15, "2026-12-15", "2027-01-14", "15 Dec - 14 Jan"},
      {{2027, 2, 28}, 31, "2027-02-28", "2027-03-30", "28 Feb - 30 Mar"},
      {{2027, 2, 27}, 31, "2027-01-31", "2027-02-27", "31 Jan - 27 Feb"},
      {{2028, 2, 29}, 31, "2028-02-29", "2028-03-30", "29 Feb - 30 Mar"},
      {{2027, 3, 1}, 30, "2027-02-28", "2027-03-29", "28 Feb - 29 Mar"},
      {{2027, 2, 28}, 29, "2027-02-28", "2027-03-28", "28 Feb - 28 Mar"},
      {{2028, 2, 28}, 29, "2028-01-29", "2028-02-28", "29 Jan - 28 Feb"},
      {{2026, 4, 30}, 31, "2026-04-30", "2026-05-30", "30 Apr - 30 May"},
      {{2000, 3, 1}, 30, "2000-02-29", "2000-03-29", "29 Feb - 29 Mar"},
      {{2100, 3, 1}, 30, "2100-02-28", "2100-03-29", "28 Feb - 29 Mar"},
      {{2026, 12, 7}, 32, "2026-12-01", "2026-12-31", "December 2026"},  // no such day
  };
  for (const Case& c : cases) {
    const Period month = billingMonthOf(c.date, c.billingDay);
    const std::string name = dateText(c.date) + " from " + std::to_string(c.billingDay);
    EXPECT_EQ(dateText(month.first) + " " + dateText(month.last) + " " + month.label(),
              std::string(c.first) + " " + c.last + " " + c.label)
        << name;
    // Months follow each other without a gap or an overlap, either way.
    EXPECT_EQ(month.next().first, addDays(month.last, 1)) << name;
    EXPECT_EQ(month.previous().last, addDays(month.first, -1)) << name;
    EXPECT_EQ(billingMonthStarting(month.first.year, month.first.month, c.billingDay), month)
        << name;
  }
}

TEST(Periods, EveryDayOfFourYearsIsInExactlyOneMonthOfEachBillingDay) {
  for (int billingDay = 1; billingDay <= 31; ++billingDay) {
    Period month = billingMonthOf({2026, 1, 1}, billingDay);
    for (CivilDate day{2026, 1, 1}; day.year < 2030; day = addDays(day, 1)) {
      if (!month.contains(day)) month = month.next();
      ASSERT_EQ(billingMonthOf(day, billingDay), month) << billingDay << ' ' << dateText(day);
      ASSERT_TRUE(month.dayCount() >= 28 && month.dayCount() <= 31) << dateText(day);
    }
  }
}

TEST(Periods, DaysAndYearsTheirNeighboursAndNames) {
  const Period day = dayOf({2026, 12, 31});
  EXPECT_EQ(dateText(day.next().first) + " " + dateText(day.previous().first),
            "2027-01-01 2026-12-30");
  EXPECT_EQ(day.label() + " " + day.key(), "31 Dec 2026 2026-12-31");
  const Period year = yearOf({2028, 6, 1});
  EXPECT_EQ(dateText(year.first) + " " + dateText(year.last), "2028-01-01 2028-12-31");
  EXPECT_EQ(dateText(year.next().first) + " " + dateText(year.previous().first),
            "2029-01-01 2027-01-01");
  EXPECT_EQ(year.label() + " " + year.key() + " " + std::to_string(year.dayCount()),
            "2028 2028 366");
  EXPECT_EQ(yearOf({2100, 1, 1}).dayCount(), 365);
}

TEST(Periods, ARunOnADaylightSavingDayCountsInThePeriodOfItsLocalDate) {
  // Europe's clocks went forward at 01:00 UTC on 29 March 2026 and back at
  // 01:00 UTC on 25 October 2026.
  struct Case {
    std::int64_t utc;
    int offset, billingDay;
    const char* first;
  };
  const Case cases[] = {
      {1774737000, 3600, 29, "2026-02-28"},  // 23:30 the evening before
      {1774747800, 7200, 29, "2026-03-29"},  // 03:30, after the change
      {1792884600, 7200, 25, "2026-10-25"},  // the first 01:30 of the autumn day
      {1792888200, 3600, 25, "2026-10-25"},  // the second
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dateText(billingMonthOf(localDate(c.utc, c.offset), c.billingDay).first), c.first)
        << c.utc;
  }
}

}  // namespace
}  // namespace tempodial

// Days, months from a billing day and years: where each begins and ends,
// what follows and precedes it, and how it is named.
#include "core/history/period.h"

#include <gtest/gtest.h>

namespace tempodial {
namespace {

TEST(Periods, BillingMonthsAtMonthEndsLeapYearsAndYearEnds) {
  struct Case {
    const char* name;
    CivilDate date;
    int billingDay;
    CivilDate first, last;
    const char* label;
    const char* key;
  };
  const Case cases[] = {
      {"calendar month",
       {2026, 12, 7},
       1,
       {2026, 12, 1},
       {2026, 12, 31},
       "December 2026",
       "2026-12"},
      {"calendar February",
       {2027, 2, 28},
       1,
       {2027, 2, 1},
       {2027, 2, 28},
       "February 2027",
       "2027-02"},
      {"calendar leap February",
       {2028, 2, 29},
       1,
       {2028, 2, 1},
       {2028, 2, 29},
       "February 2028",
       "2028-02"},
      {"on the billing day",
       {2026, 12, 15},
       15,
       {2026, 12, 15},
       {2027, 1, 14},
       "15 Dec - 14 Jan",
       "2026-12-15"},
      {"the day before it",
       {2026, 12, 14},
       15,
       {2026, 11, 15},
       {2026, 12, 14},
       "15 Nov - 14 Dec",
       "2026-11-15"},
      {"across the year's end",
       {2027, 1, 1},
       15,
       {2026, 12, 15},
       {2027, 1, 14},
       "15 Dec - 14 Jan",
       "2026-12-15"},
      {"the 31st in February",
       {2027, 2, 28},
       31,
       {2027, 2, 28},
       {2027, 3, 30},
       "28 Feb - 30 Mar",
       "2027-02-28"},
      {"the 31st before February's end",
       {2027, 2, 27},
       31,
       {2027, 1, 31},
       {2027, 2, 27},
       "31 Jan - 27 Feb",
       "2027-01-31"},
      {"the 31st in a leap February",
       {2028, 2, 29},
       31,
       {2028, 2, 29},
       {2028, 3, 30},
       "29 Feb - 30 Mar",
       "2028-02-29"},
      {"the 30th in February",
       {2027, 3, 1},
       30,
       {2027, 2, 28},
       {2027, 3, 29},
       "28 Feb - 29 Mar",
       "2027-02-28"},
      {"the 29th in a short February",
       {2027, 2, 28},
       29,
       {2027, 2, 28},
       {2027, 3, 28},
       "28 Feb - 28 Mar",
       "2027-02-28"},
      {"the 29th in a leap February",
       {2028, 2, 28},
       29,
       {2028, 1, 29},
       {2028, 2, 28},
       "29 Jan - 28 Feb",
       "2028-01-29"},
      {"the 31st in April",
       {2026, 4, 30},
       31,
       {2026, 4, 30},
       {2026, 5, 30},
       "30 Apr - 30 May",
       "2026-04-30"},
      {"the 31st on the 31st",
       {2026, 12, 31},
       31,
       {2026, 12, 31},
       {2027, 1, 30},
       "31 Dec - 30 Jan",
       "2026-12-31"},
      {"leap century",
       {2000, 3, 1},
       30,
       {2000, 2, 29},
       {2000, 3, 29},
       "29 Feb - 29 Mar",
       "2000-02-29"},
      {"no leap century",
       {2100, 3, 1},
       30,
       {2100, 2, 28},
       {2100, 3, 29},
       "28 Feb - 29 Mar",
       "2100-02-28"},
      {"a day past 31 is the calendar month",
       {2026, 12, 7},
       32,
       {2026, 12, 1},
       {2026, 12, 31},
       "December 2026",
       "2026-12"},
      {"a day of 0 is the calendar month",
       {2026, 12, 7},
       0,
       {2026, 12, 1},
       {2026, 12, 31},
       "December 2026",
       "2026-12"},
  };
  for (const Case& c : cases) {
    const Period month = billingMonthOf(c.date, c.billingDay);
    EXPECT_EQ(month.kind, PeriodKind::Month) << c.name;
    EXPECT_EQ(dateText(month.first), dateText(c.first)) << c.name;
    EXPECT_EQ(dateText(month.last), dateText(c.last)) << c.name;
    EXPECT_EQ(month.label(), c.label) << c.name;
    EXPECT_EQ(month.key(), c.key) << c.name;
    EXPECT_TRUE(month.contains(c.date)) << c.name;
    EXPECT_TRUE(month.contains(c.first) && month.contains(c.last)) << c.name;
    EXPECT_FALSE(month.contains(addDays(c.first, -1)) || month.contains(addDays(c.last, 1)))
        << c.name;
    // Months follow each other without a gap or an overlap, either way.
    EXPECT_EQ(month.next().first, addDays(month.last, 1)) << c.name;
    EXPECT_EQ(month.previous().last, addDays(month.first, -1)) << c.name;
    EXPECT_EQ(month.next().previous(), month) << c.name;
    EXPECT_EQ(month.dayCount(),
              static_cast<int>((daysFromCivil(c.last) - daysFromCivil(c.first)) / 86400) + 1)
        << c.name;
    EXPECT_EQ(billingMonthStarting(month.first.year, month.first.month, c.billingDay), month)
        << c.name;
  }
}

TEST(Periods, EveryDayOfFourYearsIsInExactlyOneMonthOfEachBillingDay) {
  for (int billingDay = 1; billingDay <= 31; ++billingDay) {
    Period month = billingMonthOf({2026, 1, 1}, billingDay);
    for (CivilDate day{2026, 1, 1}; day.year < 2030; day = addDays(day, 1)) {
      if (!month.contains(day)) month = month.next();
      ASSERT_TRUE(month.contains(day)) << billingDay << ' ' << dateText(day);
      ASSERT_EQ(billingMonthOf(day, billingDay), month) << billingDay << ' ' << dateText(day);
      ASSERT_GE(month.dayCount(), 28);
      ASSERT_LE(month.dayCount(), 31);
    }
  }
}

TEST(Periods, DaysAndYearsAndTheirNeighbours) {
  struct Case {
    const char* name;
    Period period;
    const char* first;
    const char* last;
    const char* next;
    const char* previous;
    const char* label;
    const char* key;
  };
  const Case cases[] = {
      {"a day", dayOf({2026, 12, 7}), "2026-12-07", "2026-12-07", "2026-12-08", "2026-12-06",
       "7 Dec 2026", "2026-12-07"},
      {"the last of the year", dayOf({2026, 12, 31}), "2026-12-31", "2026-12-31", "2027-01-01",
       "2026-12-30", "31 Dec 2026", "2026-12-31"},
      {"a leap day", dayOf({2028, 2, 29}), "2028-02-29", "2028-02-29", "2028-03-01", "2028-02-28",
       "29 Feb 2028", "2028-02-29"},
      {"a year", yearOf({2026, 6, 1}), "2026-01-01", "2026-12-31", "2027-01-01", "2025-01-01",
       "2026", "2026"},
      {"a calendar month", calendarMonthOf({2026, 1, 31}), "2026-01-01", "2026-01-31", "2026-02-01",
       "2025-12-01", "January 2026", "2026-01"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dateText(c.period.first), c.first) << c.name;
    EXPECT_EQ(dateText(c.period.last), c.last) << c.name;
    EXPECT_EQ(dateText(c.period.next().first), c.next) << c.name;
    EXPECT_EQ(dateText(c.period.previous().first), c.previous) << c.name;
    EXPECT_EQ(c.period.label(), c.label) << c.name;
    EXPECT_EQ(c.period.key(), c.key) << c.name;
  }
  EXPECT_EQ(yearOf({2028, 1, 1}).dayCount(), 366);
  EXPECT_EQ(yearOf({2100, 1, 1}).dayCount(), 365);
}

TEST(Periods, ARunOnADaylightSavingDayCountsInThePeriodOfItsLocalDate) {
  // Europe's clocks went forward at 01:00 UTC on 29 March 2026 and back at
  // 01:00 UTC on 25 October 2026; a month from the 29th and from the 25th
  // begins on those days.
  struct Case {
    const char* name;
    std::int64_t utc;
    int offset;
    int billingDay;
    const char* first;
  };
  const Case cases[] = {
      {"the evening before, in winter time", 1774737000, 3600, 29, "2026-02-28"},
      {"just after midnight, in winter time", 1774740600, 3600, 29, "2026-03-29"},
      {"after the change, in summer time", 1774747800, 7200, 29, "2026-03-29"},
      {"the first 01:30 of the autumn day", 1792884600, 7200, 25, "2026-10-25"},
      {"the second 01:30 of the autumn day", 1792888200, 3600, 25, "2026-10-25"},
      {"the night before, a minute to midnight", 1792879140, 7200, 25, "2026-09-25"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dateText(billingMonthOf(localDate(c.utc, c.offset), c.billingDay).first), c.first)
        << c.name;
  }
}

}  // namespace
}  // namespace tempodial

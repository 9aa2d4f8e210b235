// The one meaning of a day, a month and a year in the history, the limits and
// the allowance: a span of whole calendar days, both ends included. A month
// may run from a billing day: from the 15th it is "15 Dec - 14 Jan". A
// billing day past a month's end starts that month's period on its last day
// (from the 31st: 28 or 29 February, 30 April).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/history/history.h"

namespace tempodial {

enum class PeriodKind { Day, Month, Year };

// Days of `month` (1 to 12) of `year`: 28 to 31.
int daysInMonth(int year, int month);
// The day `days` after `date` (before it when negative).
CivilDate addDays(const CivilDate& date, int days);
// How many days `to` is after `from` (negative when before it).
int daysBetween(const CivilDate& from, const CivilDate& to);
// The billing day as a number the settings may hold: 1 to 31, else 1.
int soundBillingDay(int billingDay);
// A billing day as the settings file spells it: a whole number from 1 to 31
// in digits alone ("15"). Nothing for any other text.
std::optional<int> readBillingDay(std::string_view text);

struct Period {
  PeriodKind kind = PeriodKind::Day;
  CivilDate first, last;  // both included
  int billingDay = 1;     // a month's first day; 1: the calendar month

  bool contains(const CivilDate& date) const { return first <= date && date <= last; }
  int dayCount() const;
  Period next() const;
  Period previous() const;
  // What tells this period from every other of its kind, as the warnings
  // already given are kept: "2026-12-07", "2026" and for a calendar month
  // "2026-12"; a month from another billing day by its first day,
  // "2026-12-15".
  std::string key() const;
  // "7 Dec 2026", "December 2026", "2026"; a month from a billing day other
  // than the 1st: "15 Dec - 14 Jan".
  std::string label() const;
  friend bool operator==(const Period&, const Period&) = default;
};

// The English name of `month` (1 to 12), "January", and its first three
// letters, "Jan".
std::string monthName(int month);
std::string shortMonthName(int month);
// "15 Jan": the day and the month's short English name.
std::string shortDateText(const CivilDate& date);

Period dayOf(const CivilDate& date);
// The month from `billingDay` (1 to 31; 1 is the calendar month) that holds `date`.
Period billingMonthOf(const CivilDate& date, int billingDay);
Period calendarMonthOf(const CivilDate& date);
// The month from `billingDay` that begins in `month` of `year`.
Period billingMonthStarting(int year, int month, int billingDay);
Period yearOf(const CivilDate& date);

}  // namespace tempodial

#include "core/history/period.h"

#include <algorithm>
#include <array>

namespace tempodial {
namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::array<const char*, 12> kMonthNames{"January",   "February", "March",    "April",
                                                  "May",       "June",     "July",     "August",
                                                  "September", "October",  "November", "December"};

}  // namespace

std::string monthName(int month) { return kMonthNames[static_cast<std::size_t>(month - 1)]; }

std::string shortMonthName(int month) { return monthName(month).substr(0, 3); }

std::string shortDateText(const CivilDate& date) {
  return std::to_string(date.day) + ' ' + shortMonthName(date.month);
}

int daysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (month == 2 && leap) return 29;
  return kDays[static_cast<std::size_t>(month - 1)];
}

CivilDate addDays(const CivilDate& date, int days) {
  return localDate(daysFromCivil(date) + std::int64_t{days} * kDay, 0);
}

int daysBetween(const CivilDate& from, const CivilDate& to) {
  return static_cast<int>((daysFromCivil(to) - daysFromCivil(from)) / kDay);
}

int soundBillingDay(int billingDay) { return billingDay >= 1 && billingDay <= 31 ? billingDay : 1; }

std::optional<int> readBillingDay(std::string_view text) {
  if (text.empty() || text.size() > 2) return std::nullopt;
  int day = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    day = day * 10 + (c - '0');
  }
  if (day < 1 || day > 31) return std::nullopt;
  return day;
}

int Period::dayCount() const { return daysBetween(first, last) + 1; }

Period Period::next() const {
  switch (kind) {
    case PeriodKind::Day:
      return dayOf(addDays(first, 1));
    case PeriodKind::Month:
      return billingMonthOf(addDays(last, 1), billingDay);
    case PeriodKind::Year:
      break;
  }
  return yearOf({first.year + 1, 1, 1});
}

Period Period::previous() const {
  switch (kind) {
    case PeriodKind::Day:
      return dayOf(addDays(first, -1));
    case PeriodKind::Month:
      return billingMonthOf(addDays(first, -1), billingDay);
    case PeriodKind::Year:
      break;
  }
  return yearOf({first.year - 1, 1, 1});
}

std::string Period::key() const {
  const std::string date = dateText(first);
  switch (kind) {
    case PeriodKind::Day:
      return date;
    case PeriodKind::Month:
      return billingDay == 1 ? date.substr(0, 7) : date;
    case PeriodKind::Year:
      break;
  }
  return date.substr(0, 4);
}

std::string Period::label() const {
  switch (kind) {
    case PeriodKind::Day:
      return shortDateText(first) + ' ' + std::to_string(first.year);
    case PeriodKind::Month:
      if (billingDay == 1) {
        return monthName(first.month) + ' ' + std::to_string(first.year);
      }
      return shortDateText(first) + " - " + shortDateText(last);
    case PeriodKind::Year:
      break;
  }
  return std::to_string(first.year);
}

Period dayOf(const CivilDate& date) { return {PeriodKind::Day, date, date, 1}; }

Period billingMonthStarting(int year, int month, int billingDay) {
  billingDay = soundBillingDay(billingDay);
  const CivilDate first{year, month, std::min(billingDay, daysInMonth(year, month))};
  const int nextYear = month == 12 ? year + 1 : year;
  const int nextMonth = month == 12 ? 1 : month + 1;
  const CivilDate following{nextYear, nextMonth,
                            std::min(billingDay, daysInMonth(nextYear, nextMonth))};
  return {PeriodKind::Month, first, addDays(following, -1), billingDay};
}

Period billingMonthOf(const CivilDate& date, int billingDay) {
  const Period here = billingMonthStarting(date.year, date.month, billingDay);
  if (here.contains(date)) return here;
  // Before this month's billing day: the period began in the month before.
  return date.month == 1 ? billingMonthStarting(date.year - 1, 12, billingDay)
                         : billingMonthStarting(date.year, date.month - 1, billingDay);
}

Period calendarMonthOf(const CivilDate& date) { return billingMonthOf(date, 1); }

Period yearOf(const CivilDate& date) {
  return {PeriodKind::Year, {date.year, 1, 1}, {date.year, 12, 31}, 1};
}

}  // namespace tempodial

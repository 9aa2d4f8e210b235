// Local time in London for the plan tests: GMT, and BST (UTC+1) from 01:00
// UTC on the last Sunday of March to 01:00 UTC on the last Sunday of October.
#pragma once

#include <cstdint>

#include "core/plans/plan.h"

namespace tempodial::plans::testing {

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian).
inline std::int64_t daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = static_cast<int>(y - era * 400);
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

inline LocalTime civil(std::int64_t seconds) {
  const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
  std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<int>(z - era * 146097);
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  LocalTime t;
  t.day = doy - (153 * mp + 2) / 5 + 1;
  t.month = mp < 10 ? mp + 3 : mp - 9;
  t.year = static_cast<int>(yoe + era * 400) + (t.month <= 2);
  t.weekday = static_cast<int>(((days % 7) + 7 + 3) % 7);  // 1970-01-01 was a Thursday
  t.seconds = static_cast<int>(seconds - days * 86400);
  return t;
}

inline std::int64_t lastSundayOneAm(int year, int month) {
  std::int64_t day = daysFromCivil(year, month + 1, 1) - 1;
  while (civil(day * 86400).weekday != 6) --day;
  return day * 86400 + 3600;
}

inline LocalTime london(std::int64_t utc) {
  const int year = civil(utc).year;
  const bool summer = utc >= lastSundayOneAm(year, 3) && utc < lastSundayOneAm(year, 10);
  return civil(utc + (summer ? 3600 : 0));
}

// The UTC moment of a London wall-clock time (the first, where it occurs twice).
inline std::int64_t londonUtc(int y, int m, int d, int hour, int minute) {
  const std::int64_t wall = daysFromCivil(y, m, d) * 86400 + hour * 3600 + minute * 60;
  return london(wall - 3600).seconds == (hour * 3600 + minute * 60) ? wall - 3600 : wall;
}

}  // namespace tempodial::plans::testing

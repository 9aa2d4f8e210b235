// Local time in London for the plan tests: GMT, and BST (UTC+1) from 01:00
// UTC on the last Sunday of March to 01:00 UTC on the last Sunday of October.
#pragma once

#include <cstdint>

#include "core/history/history.h"
#include "core/plans/plan.h"

namespace tempodial::plans::testing {

inline int weekday(std::int64_t midnight) { return static_cast<int>((midnight / 86400 + 3) % 7); }

inline std::int64_t lastSundayOneAm(int year, int month) {
  const std::int64_t last = daysFromCivil({year, month + 1, 1}) - 86400;
  return last - (weekday(last) + 1) % 7 * 86400 + 3600;  // 1970-01-01 was a Thursday
}

inline LocalTime london(std::int64_t utc) {
  const int year = localDate(utc, 0).year;
  const int offset = utc >= lastSundayOneAm(year, 3) && utc < lastSundayOneAm(year, 10) ? 3600 : 0;
  const CivilDate date = localDate(utc, offset);
  const std::int64_t midnight = daysFromCivil(date);
  return {date.year, date.month, date.day, weekday(midnight),
          static_cast<int>(utc + offset - midnight)};
}

// The UTC moment of a London wall-clock time (the first, where it occurs twice).
inline std::int64_t londonUtc(int y, int m, int d, int hour, int minute) {
  const std::int64_t wall = daysFromCivil({y, m, d}) + hour * 3600 + minute * 60;
  return london(wall - 3600).seconds == (hour * 3600 + minute * 60) ? wall - 3600 : wall;
}

}  // namespace tempodial::plans::testing

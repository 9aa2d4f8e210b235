#include "core/history/limits.h"

namespace tempodial {

int percentReached(std::int64_t used, std::int64_t limit) {
  if (limit <= 0) return 0;
  if (used >= limit) return 100;
  // Compared without dividing, so that 80 % of 60 s is exactly 48 s; in 128
  // bits, so that no product overflows.
  if (static_cast<__int128>(used) * 5 >= static_cast<__int128>(limit) * 4) return 80;
  return 0;
}

std::string warningText(const LimitWarning& warning) {
  const bool day = warning.kind == LimitKind::DayTime || warning.kind == LimitKind::DayCost;
  const bool time = warning.kind == LimitKind::DayTime || warning.kind == LimitKind::MonthTime;
  return std::to_string(warning.percent) + " % of " + (day ? "today's " : "this month's ") +
         (time ? "time" : "cost") + " limit used";
}

std::string limitKey(LimitKind kind) {
  switch (kind) {
    case LimitKind::DayTime:
      return "dayTime";
    case LimitKind::DayCost:
      return "dayCost";
    case LimitKind::MonthTime:
      return "monthTime";
    case LimitKind::MonthCost:
      break;
  }
  return "monthCost";
}

std::vector<LimitWarning> LimitWatch::check(const Usage& usage, const Limits& limits) {
  std::vector<LimitWarning> due;
  for (LimitKind kind : kLimitKinds) {
    std::int64_t used = 0;
    std::optional<std::int64_t> limit;
    const std::string* period = &usage.day;
    switch (kind) {
      case LimitKind::DayTime:
        used = usage.daySeconds;
        limit = limits.dayTime;
        break;
      case LimitKind::DayCost:
        used = usage.dayCost.micros;
        if (limits.dayCost) limit = Amount::fromDouble(*limits.dayCost).micros;
        break;
      case LimitKind::MonthTime:
        used = usage.monthSeconds;
        limit = limits.monthTime;
        period = &usage.month;
        break;
      case LimitKind::MonthCost:
        used = usage.monthCost.micros;
        if (limits.monthCost) limit = Amount::fromDouble(*limits.monthCost).micros;
        period = &usage.month;
        break;
    }
    if (!limit) continue;
    const int percent = percentReached(used, *limit);
    Given& given = given_[static_cast<int>(kind)];
    const int already = given.period == *period ? given.percent : 0;
    if (percent <= already) continue;
    given = {*period, percent};
    due.push_back({kind, percent});
  }
  return due;
}

}  // namespace tempodial

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
  const LimitKind kind = warning.kind;
  const bool day =
      kind == LimitKind::DayTime || kind == LimitKind::DayCost || kind == LimitKind::DayData;
  const char* what = "cost";
  if (kind == LimitKind::DayTime || kind == LimitKind::MonthTime) what = "time";
  if (kind == LimitKind::DayData || kind == LimitKind::MonthData) what = "data";
  return std::to_string(warning.percent) + " % of " + (day ? "today's " : "this month's ") + what +
         " limit used";
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
      return "monthCost";
    case LimitKind::DayData:
      return "dayData";
    case LimitKind::MonthData:
      break;
  }
  return "monthData";
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
      case LimitKind::DayData:
        used = static_cast<double>(usage.dayBytes);
        if (limits.dayData) limit = static_cast<double>(*limits.dayData);
        break;
      case LimitKind::MonthData:
        used = static_cast<double>(usage.monthBytes);
        if (limits.monthData) limit = static_cast<double>(*limits.monthData);
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

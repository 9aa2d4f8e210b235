// Limits on time, cost and data per day and per month, and the warnings at
// 80 % and 100 % of each: given once per limit and period, and never stopping the clock.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/money/amount.h"

namespace tempodial {

enum class LimitKind { DayTime, DayCost, MonthTime, MonthCost, DayData, MonthData };
inline constexpr std::array<LimitKind, 6> kLimitKinds{LimitKind::DayTime,   LimitKind::DayCost,
                                                      LimitKind::MonthTime, LimitKind::MonthCost,
                                                      LimitKind::DayData,   LimitKind::MonthData};

// Each limit is optional; time in seconds, cost in the currency in use (as
// typed; compared exactly once rounded to a millionth), data in bytes received
// and sent.
struct Limits {
  std::optional<std::int64_t> dayTime, monthTime;
  std::optional<double> dayCost, monthCost;
  std::optional<std::int64_t> dayData, monthData;
  bool any() const { return dayTime || monthTime || dayCost || monthCost || dayData || monthData; }
};

// What is used in the periods the running session counts in: the recorded
// sessions of its start's day and month plus the running one.
struct Usage {
  std::string day;    // "2026-12-07"
  std::string month;  // "2026-12"
  std::int64_t daySeconds = 0, monthSeconds = 0;
  Amount dayCost, monthCost;
  std::int64_t dayBytes = 0, monthBytes = 0;
};

struct LimitWarning {
  LimitKind kind;
  int percent;  // 80 or 100
  friend bool operator==(const LimitWarning&, const LimitWarning&) = default;
};

// 0, 80 or 100: the highest mark `used` has reached of a positive `limit`
// (seconds, or millionths of the currency). A limit of 0 or less is no limit.
int percentReached(std::int64_t used, std::int64_t limit);

// "80 % of today's time limit used", "100 % of this month's cost limit used",
// "80 % of today's data limit used".
std::string warningText(const LimitWarning& warning);

// "dayTime", "dayCost", "monthTime", "monthCost", "dayData", "monthData": the
// names of the limits in the settings.
std::string limitKey(LimitKind kind);

// Which warnings have been given: per limit, the period and the highest mark.
class LimitWatch {
 public:
  struct Given {
    std::string period;
    int percent = 0;
  };

  // The warnings newly due for `usage`, remembered as given. A limit that
  // passed both marks at once gives only its 100 % warning.
  std::vector<LimitWarning> check(const Usage& usage, const Limits& limits);

  // What was given, to be kept between runs of the program.
  const Given& given(LimitKind kind) const { return given_[static_cast<int>(kind)]; }
  void setGiven(LimitKind kind, Given given) { given_[static_cast<int>(kind)] = std::move(given); }

 private:
  std::array<Given, kLimitKinds.size()> given_;
};

}  // namespace tempodial

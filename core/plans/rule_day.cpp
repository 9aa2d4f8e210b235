#include "core/plans/rule_day.h"

#include <numeric>

namespace tempodial::plans {
namespace {

int dateOf(const LocalTime& local) { return local.year * 10000 + local.month * 100 + local.day; }

}  // namespace

RuleDay::RuleDay(const Plan& plan, const LocalTime& local)
    : date_(dateOf(local)), rule_(kMinutes, -1), changes_(kMinutes, kMinutes) {
  // The first rule that matches a minute wins: the rules are laid in order,
  // each on the minutes no earlier one took. `next` leads from a minute to
  // the first free one at or after it (halving the paths as it goes), so the
  // whole day costs about a step per rule and per minute.
  std::vector<int> next(kMinutes + 1);
  std::iota(next.begin(), next.end(), 0);
  const auto free = [&next](int minute) {
    while (next[static_cast<std::size_t>(minute)] != minute) {
      auto& link = next[static_cast<std::size_t>(minute)];
      link = next[static_cast<std::size_t>(link)];
      minute = link;
    }
    return minute;
  };
  const auto lay = [&](int from, int to, std::int32_t index) {
    for (int minute = free(from); minute < to; minute = free(minute)) {
      rule_[static_cast<std::size_t>(minute)] = index;
      next[static_cast<std::size_t>(minute)] = minute + 1;
    }
  };
  for (std::size_t i = 0; i < plan.rules.size() && free(0) < kMinutes; ++i) {
    const Rule& rule = plan.rules[i];
    if (!ruleMatchesDay(rule, local)) continue;
    const auto index = static_cast<std::int32_t>(i);
    if (!rule.fromMin || !rule.toMin) {
      lay(0, kMinutes, index);
    } else if (*rule.fromMin < *rule.toMin) {
      lay(*rule.fromMin, *rule.toMin, index);
    } else {
      lay(*rule.fromMin, kMinutes, index);
      lay(0, *rule.toMin, index);
    }
  }
  for (int minute = kMinutes - 2; minute >= 0; --minute) {
    const auto m = static_cast<std::size_t>(minute);
    changes_[m] = rule_[m + 1] != rule_[m] ? minute + 1 : changes_[m + 1];
  }
}

bool RuleDay::isDayOf(const LocalTime& local) const { return date_ == dateOf(local); }

std::optional<std::size_t> RuleDay::at(int minute) const {
  const std::int32_t index = rule_[static_cast<std::size_t>(minute)];
  if (index < 0) return std::nullopt;
  return static_cast<std::size_t>(index);
}

}  // namespace tempodial::plans

// The rules of a plan laid over one local day: the rule in force at each
// minute, so that a run is charged from one change of rate to the next
// instead of step by step.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/plans/plan.h"

namespace tempodial::plans {

class RuleDay {
 public:
  static constexpr int kMinutes = 1440;

  RuleDay() = default;
  // The day of `local` (its date and weekday; its time is not looked at).
  RuleDay(const Plan& plan, const LocalTime& local);

  // Whether it is the day of `local`.
  bool isDayOf(const LocalTime& local) const;
  // The rule in force at `minute` after midnight, as ruleInForce gives it.
  std::optional<std::size_t> at(int minute) const;
  // The first minute after `minute` from which another rule (or the default
  // rate) is in force; kMinutes where none is before the day ends.
  int changeAfter(int minute) const { return changes_[static_cast<std::size_t>(minute)]; }

 private:
  int date_ = -1;                      // year * 10000 + month * 100 + day
  std::vector<std::int32_t> rule_;     // per minute: the rule's index, -1 for none
  std::vector<std::int32_t> changes_;  // per minute: changeAfter
};

}  // namespace tempodial::plans

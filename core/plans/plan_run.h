// The charge of one run of the clock under a plan: the connection charge when
// the clock starts, each charging step at the rate in force at the start of
// the step (charged in full as soon as its first second is counted), and the
// minimum when it stops. A run of 0 s costs nothing. Steps follow the real
// time since the start; the rules are tested against the local time of the
// moment each step starts, so a change of the UTC offset moves them. A plan
// with a charge per MB adds the run's data volume as last counted, only what
// lies beyond its monthly allowance where it has one. The exact
// sum of the time, the connection and the volume is rounded once, half up,
// to a millionth; the minimum raises the rounded sum.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/plans/plan.h"
#include "core/plans/rule_day.h"

namespace tempodial::plans {

// The local time of a moment given in seconds since 1970 UTC.
using LocalClock = std::function<LocalTime(std::int64_t utcSeconds)>;
// The moment (seconds since 1970 UTC) the billing month holding the moment
// `utcSeconds` ends and the allowance is whole again.
using AllowanceReset = std::function<std::int64_t(std::int64_t utcSeconds)>;

// The moments (seconds since 1970 UTC, earliest first) whose local time is
// `seconds` after the start of the local day `date` (year * 10000 + month *
// 100 + day): none inside the hour skipped when the clocks go forward, two
// inside the hour repeated when they go back, else one.
std::vector<std::int64_t> momentsOf(const LocalClock& clock, int date, int seconds);

// Consecutive steps charged at one rate by one rule (or the default rate).
struct RatePeriod {
  std::int64_t startUtc = 0;  // when its first step starts
  std::int64_t steps = 0;
  std::int64_t used = 0;  // seconds of the run within it
  Amount rate = 0;        // per minute
  std::optional<std::size_t> rule;
  // Sixtieths of an Amount: each step adds its rate times its seconds.
  std::int64_t sixtieths = 0;
  // Its charge, to the nearest millionth (halves up).
  Amount amount() const;
};

class PlanRun {
 public:
  PlanRun(Plan plan, std::int64_t startUtc, LocalClock clock);

  // Counts the run on to `elapsed` seconds since the start (never back).
  void countTo(std::int64_t elapsed);

  std::int64_t elapsed() const { return elapsed_; }
  // The bytes received and sent so far (never fewer than before).
  void countVolume(std::int64_t bytes);
  std::int64_t volume() const { return bytes_; }
  // For a plan with an allowance: `usedBefore` bytes of the billing month the
  // run starts in were used before it; `reset` tells when each billing month
  // ends. A volume read after a month's end counts in the next month, which
  // starts with nothing used. Without this the run starts a month afresh.
  void setAllowance(std::int64_t usedBefore, AllowanceReset reset);
  // The bytes of the run charged by the MB: all of them, or those beyond
  // the allowance in each billing month the run has counted in.
  std::int64_t chargedVolume() const;
  // The bytes of the month used before the run (or, once the run has passed
  // a month's end, 0).
  std::int64_t usedBefore() const { return usedBefore_; }
  // The bytes of the billing month used so far, before and in the run.
  std::int64_t monthUsed() const { return usedBefore_ + bytes_ - monthBase_; }
  // The volume's charge, to the nearest millionth (halves up), as shown.
  Amount dataCharge() const;
  // While the clock runs: the connection, every step begun so far and the
  // volume's charge, summed exactly and rounded once.
  Amount running() const;
  // The run's charge if it stopped now: nothing for a run of 0 s, else the
  // running charge raised to the minimum.
  Amount total() const;
  // What the minimum adds to the running charge when the run stops.
  Amount minimumTopUp() const;
  // The periods charged so far, in order; empty before the first second.
  const std::vector<RatePeriod>& periods() const { return periods_; }
  const Plan& plan() const { return plan_; }
  std::int64_t startUtc() const { return startUtc_; }
  const LocalClock& clock() const { return clock_; }

 private:
  Plan plan_;
  std::int64_t startUtc_;
  LocalClock clock_;
  std::int64_t elapsed_ = 0;
  std::int64_t steps_ = 0;
  std::int64_t sixtieths_ = 0;
  std::int64_t bytes_ = 0;
  // The allowance's month: the bytes used in it before the run, the run's
  // bytes at its start, the bytes charged in the months already ended, and
  // when it ends.
  std::int64_t usedBefore_ = 0, monthBase_ = 0, chargedBefore_ = 0;
  std::optional<std::int64_t> monthEnd_;
  AllowanceReset reset_;
  std::vector<RatePeriod> periods_;
  RuleDay day_;  // the day of the last step charged
};

// How a period's rate is named: the rule's name, else "Off-peak" below the
// default rate, "Peak" above it, "Standard" for the default rate itself.
std::string rateName(const Plan& plan, const RatePeriod& period);

// "Off-peak rate 0.5p from 18:00": the rate in force from the period's start.
std::string rateChangeText(const Plan& plan, const RatePeriod& period, const LocalClock& clock);

}  // namespace tempodial::plans

#include "core/plans/plan_run.h"

#include <algorithm>
#include <utility>

#include "core/history/history.h"
#include "core/plans/plan_file.h"

namespace tempodial::plans {
namespace {

using Wide = __int128;
constexpr std::int64_t kMb = 1000000;

Amount roundedSixtieths(std::int64_t sixtieths) { return (sixtieths + 30) / 60; }

// Seconds east of UTC at `utc`, whose local time is `local`.
std::int64_t offsetOf(const LocalTime& local, std::int64_t utc) {
  return daysFromCivil({local.year, local.month, local.day}) + local.seconds - utc;
}
std::int64_t offsetAt(const LocalClock& clock, std::int64_t utc) {
  return offsetOf(clock(utc), utc);
}

// The first moment after `from` and before `until` at which the clock's
// offset differs from `offset`, the one at `from`; `until` where it never
// does. The offset changes at most once within a day.
std::int64_t offsetChange(const LocalClock& clock, std::int64_t offset, std::int64_t from,
                          std::int64_t until) {
  if (until - from < 2 || offsetAt(clock, until - 1) == offset) return until;
  std::int64_t same = from, other = until - 1;
  while (other - same > 1) {
    const std::int64_t middle = same + (other - same) / 2;
    (offsetAt(clock, middle) == offset ? same : other) = middle;
  }
  return other;
}

}  // namespace

Amount RatePeriod::amount() const { return roundedSixtieths(sixtieths); }

std::vector<std::int64_t> momentsOf(const LocalClock& clock, int date, int seconds) {
  const std::int64_t wall = daysFromCivil({date / 10000, date / 100 % 100, date % 100}) + seconds;
  // The offsets a day before and a day after: any change between them
  // happens near the wall-clock time, and one of them holds on each side.
  // Where both give a moment, the clocks went back: the offset before is
  // the larger, so its moment comes first.
  std::vector<std::int64_t> moments;
  for (const std::int64_t near : {wall - 86400, wall + 86400}) {
    const std::int64_t moment = wall - offsetAt(clock, near);
    if (offsetAt(clock, moment) == wall - moment &&
        std::find(moments.begin(), moments.end(), moment) == moments.end()) {
      moments.push_back(moment);
    }
  }
  return moments;
}

PlanRun::PlanRun(Plan plan, std::int64_t startUtc, LocalClock clock)
    : plan_(std::move(plan)), startUtc_(startUtc), clock_(std::move(clock)) {}

void PlanRun::countTo(std::int64_t elapsed) {
  if (elapsed <= elapsed_) return;
  const std::int64_t step = plan_.step;
  // Steps whose first second lies within the first `elapsed` seconds.
  const std::int64_t begun = (elapsed + step - 1) / step;
  // Each step is charged at the rate in force as it starts. The rate stays
  // until the day's rules change it, the day ends or the clock's offset
  // changes: every step starting before then is charged at once.
  while (steps_ < begun) {
    const std::int64_t stepStart = startUtc_ + steps_ * step;
    const LocalTime local = clock_(stepStart);
    if (!day_.isDayOf(local)) day_ = RuleDay(plan_, local);
    const int minute = local.seconds / 60;
    const auto rule = day_.at(minute);
    const std::int64_t until =
        offsetChange(clock_, offsetOf(local, stepStart), stepStart,
                     stepStart + std::int64_t{day_.changeAfter(minute)} * 60 - local.seconds);
    // At least the step that starts now, whatever the clock says.
    const std::int64_t steps =
        std::min(begun - steps_, std::max<std::int64_t>(1, (until - stepStart + step - 1) / step));
    const Amount rate = rule ? plan_.rules[*rule].rate : plan_.rate;
    if (periods_.empty() || periods_.back().rule != rule) {
      periods_.push_back(RatePeriod{stepStart, 0, 0, rate, rule, 0});
    }
    RatePeriod& period = periods_.back();
    period.steps += steps;
    period.sixtieths += rate * step * steps;
    sixtieths_ += rate * step * steps;
    steps_ += steps;
  }
  // Every period before the last lies whole within the run; the last holds
  // the rest of it.
  std::int64_t before = 0;
  for (std::size_t i = 0; i + 1 < periods_.size(); ++i) {
    periods_[i].used = periods_[i].steps * step;
    before += periods_[i].used;
  }
  if (!periods_.empty()) periods_.back().used = elapsed - before;
  elapsed_ = elapsed;
}

void PlanRun::setAllowance(std::int64_t usedBefore, AllowanceReset reset) {
  usedBefore_ = std::max<std::int64_t>(usedBefore, 0);
  reset_ = std::move(reset);
  monthEnd_ = reset_ ? std::optional(reset_(startUtc_)) : std::nullopt;
}

void PlanRun::countVolume(std::int64_t bytes) {
  // The bytes read before a month's end are that month's; the months the
  // run has passed are closed with them, each starting with nothing used.
  const std::int64_t now = startUtc_ + elapsed_;
  while (monthEnd_ && now >= *monthEnd_) {
    chargedBefore_ = chargedVolume();
    monthBase_ = bytes_;
    usedBefore_ = 0;
    const std::int64_t next = reset_(*monthEnd_);
    monthEnd_ = next > *monthEnd_ ? std::optional(next) : std::nullopt;
  }
  bytes_ = std::max(bytes_, bytes);
}

std::int64_t PlanRun::chargedVolume() const {
  const std::int64_t inMonth = bytes_ - monthBase_;
  if (!plan_.allowanceBytes) return chargedBefore_ + inMonth;
  const auto beyond = [this](std::int64_t used) {
    return std::max<std::int64_t>(used - *plan_.allowanceBytes, 0);
  };
  return chargedBefore_ + beyond(usedBefore_ + inMonth) - beyond(usedBefore_);
}

Amount PlanRun::dataCharge() const {
  return static_cast<Amount>((Wide{chargedVolume()} * plan_.perMb + kMb / 2) / kMb);
}

Amount PlanRun::running() const {
  // In 60,000,000ths of a millionth: the time's sixtieths and the volume's
  // millionths of an MB add up exactly; the sum is rounded once.
  constexpr Wide kWhole = Wide{60} * kMb;
  const Wide exact = Wide{plan_.connection} * kWhole + Wide{sixtieths_} * kMb +
                     Wide{chargedVolume()} * plan_.perMb * 60;
  return static_cast<Amount>((exact + kWhole / 2) / kWhole);
}

Amount PlanRun::total() const { return elapsed_ == 0 ? 0 : std::max(running(), plan_.minimum); }

Amount PlanRun::minimumTopUp() const { return elapsed_ == 0 ? 0 : total() - running(); }

std::string rateName(const Plan& plan, const RatePeriod& period) {
  if (period.rule && !plan.rules[*period.rule].name.empty()) return plan.rules[*period.rule].name;
  if (period.rate < plan.rate) return "Off-peak";
  return period.rate > plan.rate ? "Peak" : "Standard";
}

std::string rateChangeText(const Plan& plan, const RatePeriod& period, const LocalClock& clock) {
  const LocalTime local = clock(period.startUtc);
  std::string time = timeText(local.seconds / 60);
  if (local.seconds % 60 != 0) {
    time += (local.seconds % 60 < 10 ? ":0" : ":") + std::to_string(local.seconds % 60);
  }
  return rateName(plan, period) + " rate " + minorUnitsText(period.rate) +
         std::string(minorUnitSign(plan.currency)) + " from " + time;
}

}  // namespace tempodial::plans

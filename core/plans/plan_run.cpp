#include "core/plans/plan_run.h"

#include <algorithm>
#include <utility>

#include "core/plans/plan_file.h"

namespace tempodial::plans {
namespace {

Amount roundedSixtieths(std::int64_t sixtieths) { return (sixtieths + 30) / 60; }

}  // namespace

Amount RatePeriod::amount() const { return roundedSixtieths(sixtieths); }

PlanRun::PlanRun(Plan plan, std::int64_t startUtc, LocalClock clock)
    : plan_(std::move(plan)), startUtc_(startUtc), clock_(std::move(clock)) {}

void PlanRun::countTo(std::int64_t elapsed) {
  if (elapsed <= elapsed_) return;
  const std::int64_t step = plan_.step;
  // Steps whose first second lies within the first `elapsed` seconds.
  const std::int64_t begun = (elapsed + step - 1) / step;
  for (; steps_ < begun; ++steps_) {
    const std::int64_t stepStart = startUtc_ + steps_ * step;
    const auto rule = ruleInForce(plan_, clock_(stepStart));
    const Amount rate = rule ? plan_.rules[*rule].rate : plan_.rate;
    if (periods_.empty() || periods_.back().rule != rule) {
      periods_.push_back(RatePeriod{stepStart, 0, 0, rate, rule, 0});
    }
    RatePeriod& period = periods_.back();
    ++period.steps;
    period.sixtieths += rate * step;
    sixtieths_ += rate * step;
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

void PlanRun::countVolume(std::int64_t bytes) { bytes_ = std::max(bytes_, bytes); }

Amount PlanRun::dataCharge() const {
  // Whole MB and the bytes beyond them apart, so that no product overflows.
  constexpr std::int64_t kMb = 1000000;
  return bytes_ / kMb * plan_.perMb + (bytes_ % kMb * plan_.perMb + kMb / 2) / kMb;
}

Amount PlanRun::running() const {
  return plan_.connection + roundedSixtieths(sixtieths_) + dataCharge();
}

Amount PlanRun::total() const { return elapsed_ == 0 ? 0 : running() + minimumTopUp(); }

Amount PlanRun::minimumTopUp() const {
  const Amount charge = running();
  return elapsed_ > 0 && charge < plan_.minimum ? plan_.minimum - charge : 0;
}

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

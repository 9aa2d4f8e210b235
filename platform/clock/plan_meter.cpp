#include "platform/clock/plan_meter.h"

#include <QDateTime>

#include "core/history/period.h"
#include "core/plans/cost_sum.h"
#include "core/plans/plan_file.h"
#include "platform/clock/clock_model.h"
#include "platform/files/settings_file.h"
#include "platform/plans/plan_store.h"

namespace tempodial {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

PlanMeter::PlanMeter(ClockModel& clock) : clock_(clock) {}

QString PlanMeter::reload() {
  QString error;
  const QString name = planInUse();
  std::optional<plans::Plan> plan;
  if (!name.isEmpty()) {
    auto found = findPlan(name);
    if (found.ok()) {
      plan = std::move(found.value());
    } else {
      error = QString::fromStdString(found.reason());
    }
  }
  if (!running_) {
    plan_ = std::move(plan);
    error_ = error;
  }
  showRate();
  Q_EMIT clock_.planReloaded();
  return error;
}

bool PlanMeter::charges() const { return running_ ? run_.has_value() : plan_.has_value(); }

std::optional<std::pair<QString, double>> PlanMeter::tariffForJournal() const {
  if (!run_) return std::nullopt;
  const plans::Amount rate =
      run_->periods().empty() ? run_->plan().rate : run_->periods().back().rate;
  return std::pair{qt(run_->plan().name), static_cast<double>(rate) / plans::kPerMinorUnit};
}

QString PlanMeter::planName() const {
  if (running_) return run_ ? qt(run_->plan().name) : QString();
  return plan_ ? qt(plan_->name) : QString();
}

void PlanMeter::clockStarting() {
  running_ = true;
  run_.reset();
  charged_ = 0;
  periodsAnnounced_ = 0;
  const qint64 now = QDateTime::currentSecsSinceEpoch();
  if (plan_ && !plans::outsideValidity(*plan_, localClock()(now))) {
    run_.emplace(*plan_, now, localClock());
    if (plan_->allowanceBytes) takeAllowance(now);
  }
}

void PlanMeter::takeAllowance(qint64 now) {
  const int billingDay = loadBillingDay();
  const plans::LocalClock local = localClock();
  const plans::LocalTime today = local(now);
  // What the recorded sessions used of this billing month, as the clock
  // model last read it; a month since begun has used nothing.
  qint64 used = 0;
  if (const auto& allowance = clock_.allowance();
      allowance && CivilDate{today.year, today.month, today.day} < allowance->resets) {
    used = allowance->recorded;
  }
  // A month ends at the local midnight that starts the next one.
  run_->setAllowance(used, [billingDay, local](std::int64_t utc) {
    const plans::LocalTime at = local(utc);
    const CivilDate next = billingMonthOf({at.year, at.month, at.day}, billingDay).next().first;
    const int date = next.year * 10000 + next.month * 100 + next.day;
    // Where the clocks skip midnight, the day starts at the first moment it has.
    for (int seconds = 0; seconds <= 2 * 3600; seconds += 900) {
      const auto moments = plans::momentsOf(local, date, seconds);
      if (!moments.empty()) return moments.front();
    }
    return daysFromCivil(next);
  });
}

void PlanMeter::clockStarted() {
  if (!run_) return;
  addToCost(run_->running());
  showRate();
}

void PlanMeter::counted(qint64 elapsed) {
  if (!run_ || !running_) return;
  run_->countTo(elapsed);
  addToCost(run_->running());
  // The first period's rate is the one the run started with; each later one
  // is a change the user is told of.
  if (run_->periods().size() > periodsAnnounced_) {
    if (periodsAnnounced_ > 0) {
      clock_.say(qt(rateChangeText(run_->plan(), run_->periods().back(), run_->clock())));
    }
    periodsAnnounced_ = run_->periods().size();
    showRate();
  }
}

void PlanMeter::clockStopped(qint64 elapsed) {
  if (run_) {
    run_->countTo(elapsed);
    addToCost(run_->total());
  }
  running_ = false;
  reload();
}

void PlanMeter::volumeCounted(qint64 bytes) {
  if (!run_ || run_->plan().perMb == 0) return;
  run_->countVolume(bytes);
  addToCost(running_ ? run_->running() : run_->total());
}

QString PlanMeter::costIfEnded(const QString& cost) const {
  if (!run_ || !running_ || run_->total() == charged_) return cost;
  return qt(plans::costPlus(cost.toStdString(), run_->total() - charged_));
}

void PlanMeter::addToCost(plans::Amount charge) {
  if (charge == charged_) return;
  clock_.setCost(qt(plans::costPlus(clock_.cost().toStdString(), charge - charged_)));
  charged_ = charge;
}

void PlanMeter::showRate() {
  const plans::Plan* plan = run_ && running_ ? &run_->plan() : plan_ ? &*plan_ : nullptr;
  ClockModel::RateInForce shown;
  shown.shown = plan != nullptr || !error_.isEmpty();
  if (plan == nullptr) {
    // The plan in use cannot be read: the classic tariffs charge meanwhile.
    shown.caption = QStringLiteral("Classic tariff: plan unusable");
    shown.detail = error_;
    clock_.setRateInForce(shown);
    return;
  }
  plans::RatePeriod now;
  if (run_ && running_ && !run_->periods().empty()) {
    now = run_->periods().back();
  } else {
    const auto rule = plans::ruleInForce(*plan, localClock()(QDateTime::currentSecsSinceEpoch()));
    now.rule = rule;
    now.rate = rule ? plan->rules[*rule].rate : plan->rate;
  }
  shown.caption = QStringLiteral("%1 %2%3/min")
                      .arg(qt(plans::rateName(*plan, now)), qt(plans::minorUnitsText(now.rate)),
                           qt(std::string(plans::minorUnitSign(plan->currency))));
  clock_.setRateInForce(shown);
}

}  // namespace tempodial

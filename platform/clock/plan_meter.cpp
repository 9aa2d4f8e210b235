#include "platform/clock/plan_meter.h"

#include <QDateTime>

#include "core/plans/cost_sum.h"
#include "core/plans/plan_file.h"
#include "platform/clock/clock_model.h"
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
  }
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

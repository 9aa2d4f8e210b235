#include "platform/clock/clock_model.h"

#include <utility>

#include "core/history/session.h"
#include "core/money/exact_cost.h"
#include "core/values/number_text.h"
#include "platform/clock/plan_meter.h"
#include "platform/desktop/sleep_watch.h"

namespace tempodial {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ClockModel::ClockModel(std::function<qint64()> monotonicMs, QObject* parent)
    : QObject(parent),
      monotonicMs_(std::move(monotonicMs)),
      planMeter_(std::make_unique<PlanMeter>(*this)) {
  for (auto value :
       {&ClockModel::countersChanged, &ClockModel::costChanged, &ClockModel::currencyChanged,
        &ClockModel::tariffChanged, &ClockModel::rateInForceChanged, &ClockModel::planReloaded,
        &ClockModel::volumeChanged, &ClockModel::allowanceChanged}) {
    connect(this, value, this, &ClockModel::changeSoon);
  }
  connect(this, &ClockModel::costShownChanged, this, &ClockModel::changeSoon);
  connect(this, &ClockModel::costShownAtStartUpChanged, this, &ClockModel::changeSoon);
  connect(this, &ClockModel::runningChanged, this, &ClockModel::changeSoon);
}

void ClockModel::changeSoon() {
  if (std::exchange(changePending_, true)) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        changePending_ = false;
        Q_EMIT changed();
      },
      Qt::QueuedConnection);
}

ClockModel::~ClockModel() = default;

QString ClockModel::counter(clock::Counter which) const {
  switch (which) {
    case clock::Counter::Hours:
      return qt(counters_.hours);
    case clock::Counter::Minutes:
      return qt(counters_.minutes);
    case clock::Counter::Seconds:
      return qt(counters_.seconds);
  }
  return {};
}

void ClockModel::setCounter(clock::Counter which, const QString& text) {
  if (counter(which) == text) return;
  changeCounters(
      [&](clock::Counters& counters) { return clock::set(counters, which, text.toStdString()); });
}

void ClockModel::changeCounters(const std::function<bool(clock::Counters&)>& change) {
  const clock::Counters before = counters_;
  const bool minuteDone = change(counters_);
  // The carried time is shown before the minute is charged.
  if (counters_ != before) Q_EMIT countersChanged();
  if (minuteDone) chargeMinute();
}

void ClockModel::chargeMinute() {
  // A tariff plan charges by steps of its own instead.
  if (planMeter_->charges()) return;
  setCost(qt(costPlusMinute(cost_.toStdString(), rate_.toStdString())));
}

void ClockModel::setCost(const QString& text) {
  if (cost_ == text) return;
  cost_ = text;
  Q_EMIT costChanged();
}

void ClockModel::setCurrency(const QString& symbol, const QString& name) {
  if (currencySymbol_ == symbol && currencyName_ == name) return;
  currencySymbol_ = symbol;
  currencyName_ = name;
  Q_EMIT currencyChanged();
}

void ClockModel::setTariff(const QString& name) {
  if (tariff_ == name) return;
  tariff_ = name;
  Q_EMIT tariffChanged();
}

void ClockModel::setRate(const QString& text) {
  if (rate_ == text) return;
  rate_ = text;
  Q_EMIT tariffChanged();
}

std::pair<QString, double> ClockModel::tariffForJournal() const {
  if (auto plan = planMeter_->tariffForJournal()) return *plan;
  return {tariff_, readNumber(rate_.toStdString())};
}

void ClockModel::setRateInForce(const RateInForce& rate) {
  if (rateInForce_ == rate) return;
  rateInForce_ = rate;
  Q_EMIT rateInForceChanged();
}

void ClockModel::setCostShown(bool shown) {
  if (costShown_ == shown) return;
  costShown_ = shown;
  Q_EMIT costShownChanged(shown);
}

void ClockModel::setCostShownAtStartUp(bool shown) {
  if (costShownAtStartUp_ == shown) return;
  costShownAtStartUp_ = shown;
  Q_EMIT costShownAtStartUpChanged(shown);
}

void ClockModel::say(const QString& text) { Q_EMIT said(text); }

void ClockModel::startStop() {
  if (running_) {
    stop();
  } else {
    start();
  }
  say(QStringLiteral("The timer has been touched"));
}

void ClockModel::start() {
  running_ = true;
  runStartMs_ = monotonicMs_();
  runCounted_ = 0;
  Q_EMIT runningChanged(true);
  planMeter_->clockStarting();
  Q_EMIT runStarted();
  planMeter_->clockStarted();
  if (sleepWatch_ == nullptr) {
    sleepWatch_ = new SleepWatch(this);
    connect(sleepWatch_, &SleepWatch::woke, this, &ClockModel::sleptWhileRunning);
  }
}

void ClockModel::stop() {
  // Whole seconds that passed since the last tick still count.
  countUpTo(clock::dueAtStop(monotonicMs_() - runStartMs_));
  running_ = false;
  Q_EMIT runningChanged(false);
  planMeter_->clockStopped(runCounted_);
  Q_EMIT runStopped();
}

void ClockModel::catchUp() {
  if (!running_) return;
  countUpTo(clock::dueAtTick(monotonicMs_() - runStartMs_));
}

void ClockModel::catchUpAtEnd() {
  if (running_) countUpTo(clock::dueAtStop(monotonicMs_() - runStartMs_));
}

void ClockModel::tick() {
  changeCounters([](clock::Counters& counters) { return clock::tick(counters); });
}

void ClockModel::countUpTo(qint64 due) {
  if (runCounted_ >= due) return;
  const qint64 added = due - runCounted_;
  // Each second as a tick of its own: a completed minute is charged by the
  // rate of that moment, after the carried time is shown.
  for (qint64 i = 0; i < added; ++i) tick();
  runCounted_ = due;
  planMeter_->counted(runCounted_);
  Q_EMIT counted(static_cast<int>(added));
}

void ClockModel::volumeStarted() {
  volume_ = DataVolume{};
  Q_EMIT volumeChanged();
}

void ClockModel::volumeRead(DataVolume volume) {
  volume_ = volume;
  // Before the journal's row is written, so that its cost holds the charge.
  planMeter_->volumeCounted(volume.total());
  Q_EMIT volumeChanged();
}

void ClockModel::setAllowance(const std::optional<Allowance>& allowance) {
  if (allowance_ == allowance) return;
  allowance_ = allowance;
  Q_EMIT allowanceChanged();
}

void ClockModel::sleptWhileRunning(qint64 sleptMs) {
  if (!running_) return;
  say(QStringLiteral("The computer slept for %1; the timer did not count that time")
          .arg(qt(clockText(sleptMs / 1000))));
}

}  // namespace tempodial

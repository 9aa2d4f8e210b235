#include "platform/forms/form_timer.h"

namespace tempodial {

FormTimer::FormTimer(QObject* parent, const QString& name, int intervalMs, bool enabled)
    : QObject(parent) {
  setObjectName(name);
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(intervalMs);
  connect(&timer_, &QTimer::timeout, this, &FormTimer::elapse);
  if (enabled) timer_.start();
}

void FormTimer::setEnabled(bool enabled) {
  const bool was = timer_.isActive();
  if (enabled && !was) timer_.start();
  if (!enabled) timer_.stop();
  if (was != enabled && onEnabledChanged) onEnabledChanged(enabled);
}

void FormTimer::elapse() {
  if (!timer_.isActive()) return;
  // Stopped first, so that the handler may arm it again.
  if (runsOnce_) timer_.stop();
  if (onTick) onTick();
}

}  // namespace tempodial

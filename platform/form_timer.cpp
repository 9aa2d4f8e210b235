#include "platform/form_timer.h"

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
  if (enabled && !timer_.isActive()) timer_.start();
  if (!enabled) timer_.stop();
}

void FormTimer::elapse() {
  if (!timer_.isActive()) return;
  // Stopped first, so that the handler may arm it again.
  if (runsOnce_) timer_.stop();
  if (onTick) onTick();
}

}  // namespace tempodial

#include "platform/desktop/sleep_watch.h"

#include <time.h>

#include <QDBusConnection>

namespace tempodial {
namespace {

qint64 clockMs(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<qint64>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

SleepWatch::SleepWatch(QObject* parent)
    : QObject(parent),
      bootClockMs([] { return clockMs(CLOCK_BOOTTIME); }),
      runClockMs([] { return clockMs(CLOCK_MONOTONIC); }) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) return;
  bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
              QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
              this, SLOT(prepareForSleep(bool)));
}

void SleepWatch::prepareForSleep(bool sleeping) {
  if (sleeping) {
    asleep_ = true;
    bootAtSleep_ = bootClockMs();
    runAtSleep_ = runClockMs();
    return;
  }
  if (!asleep_) return;
  asleep_ = false;
  const qint64 slept = (bootClockMs() - bootAtSleep_) - (runClockMs() - runAtSleep_);
  Q_EMIT woke(slept < 0 ? 0 : slept);
}

}  // namespace tempodial

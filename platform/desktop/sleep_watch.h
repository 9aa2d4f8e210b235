// Hears from logind (org.freedesktop.login1 on the system bus) when the
// computer goes to sleep and wakes up, and tells how long it slept. The clock
// counts on a clock that stands still while the computer sleeps; this is only
// what the user is told about it. Without a system bus or logind it stays
// silent.
#pragma once

#include <QObject>
#include <functional>

namespace tempodial {

class SleepWatch : public QObject {
  Q_OBJECT
 public:
  explicit SleepWatch(QObject* parent = nullptr);

  // The clocks it compares: one that runs on while the computer sleeps and
  // one that does not, in milliseconds. Tests put their own in.
  std::function<qint64()> bootClockMs;
  std::function<qint64()> runClockMs;

 Q_SIGNALS:
  // The computer has woken after sleeping this long.
  void woke(qint64 sleptMs);

 public Q_SLOTS:
  // logind's PrepareForSleep: true before sleeping, false after waking.
  void prepareForSleep(bool sleeping);

 private:
  bool asleep_ = false;
  qint64 bootAtSleep_ = 0;
  qint64 runAtSleep_ = 0;
};

}  // namespace tempodial

#include "platform/session/session_recorder.h"

#include <QDateTime>
#include <QTimer>
#include <tuple>
#include <utility>

#include "platform/clock/clock_model.h"
#include "platform/clock/plan_meter.h"
#include "platform/desktop/desktop_notifier.h"
#include "platform/journal/session_journal.h"
#include "platform/runtime/runtime.h"
#include "platform/session/data_allowance.h"
#include "platform/session/journal_access.h"

namespace tempodial {

SessionRecorder::SessionRecorder(Runtime& runtime, ClockModel& clock, QObject* parent)
    : QObject(parent), runtime_(runtime), clock_(clock), limits_(clock) {
  connect(&clock_, &ClockModel::runStarted, this, &SessionRecorder::clockStarted);
  connect(&clock_, &ClockModel::counted, this, &SessionRecorder::counted);
  connect(&clock_, &ClockModel::runStopped, this, &SessionRecorder::clockStopped);
  // The allowance left, for the windows to show from the start; again when
  // the plan in use is read again.
  QTimer::singleShot(0, this, [this] { refreshAllowance(runtime_, clock_); });
  connect(&clock_, &ClockModel::planReloaded, this, [this] { refreshAllowance(runtime_, clock_); });
}

SessionSnapshot SessionRecorder::snapshot() const {
  SessionSnapshot now;
  now.hours = clock_.hours();
  now.minutes = clock_.minutes();
  now.seconds = clock_.seconds();
  now.cost = clock_.planMeter().costIfEnded(clock_.cost());
  std::tie(now.tariff, now.rate) = clock_.tariffForJournal();
  now.currency = clock_.currencySymbol();
  now.counted = counted_;
  now.received = volume_.volume().received;
  now.sent = volume_.volume().sent;
  return now;
}

void SessionRecorder::clockStarted() {
  row_ = 0;
  counted_ = written_ = 0;
  updates_ = 0;
  running_ = true;
  volume_.start();
  clock_.volumeStarted();
  Runtime& rt = runtime_;
  const QDateTime start = QDateTime::currentDateTime();
  start_ = start;
  startCost_ = clock_.cost();
  limits_.started(0, start, clock_.cost());
  if (const Status opened = openJournal(rt); !opened.ok()) {
    report(QString::fromStdString(opened.reason()));
    return;
  }
  auto row = rt.journal().begin(snapshot(), start.toUTC(), start.offsetFromUtc());
  if (!row.ok()) {
    report(QString::fromStdString(row.reason()));
    return;
  }
  row_ = row.value();
  limits_.started(row_, start, clock_.cost());
  reported_ = false;
}

void SessionRecorder::counted(int seconds) {
  counted_ += seconds;
  const bool update = counted_ - written_ >= kUpdateSeconds;
  if (update) {
    written_ = counted_;
    readVolume();
  }
  checkLimits();
  if (row_ == 0 || !update) return;
  if (runtime_.journal().fileGone() && !renewJournal()) return;
  const bool durable = ++updates_ % kUpdatesPerFlush == 0;
  Status status =
      runtime_.journal().update(row_, snapshot(), QDateTime::currentDateTimeUtc(), durable);
  if (status.ok()) return;
  row_ = 0;
  // Not from inside the tick: the message waits for the user, and the clock
  // must go on counting meanwhile.
  const QString reason = QString::fromStdString(status.reason());
  QTimer::singleShot(0, this, [this, reason] { report(reason); });
}

bool SessionRecorder::renewJournal() {
  Runtime& rt = runtime_;
  SessionJournal& journal = rt.journal();
  journal.close();
  row_ = 0;
  Result<qint64> row = Result<qint64>::FromStatus(openJournal(rt));
  if (row.ok()) {
    SessionSnapshot started = snapshot();
    started.cost = startCost_;
    row = journal.begin(started, start_.toUTC(), start_.offsetFromUtc());
  }
  const QString reason = QString::fromStdString(row.reason());
  // Told after the tick, as the clock goes on counting meanwhile.
  if (!row.ok()) {
    QTimer::singleShot(0, this, [this, reason] { report(reason); });
    return false;
  }
  const QString text = QStringLiteral(
                           "The session journal %1 was deleted while the clock ran. A new "
                           "journal has been started, and it keeps the running session.")
                           .arg(journal.path());
  QTimer::singleShot(0, this, [this, text] { runtime_.notice(text); });
  row_ = row.value();
  limits_.started(row_, start_, startCost_);
  return true;
}

void SessionRecorder::readVolume() {
  running_ ? volume_.read() : volume_.stop();
  // Before the row is written, so that its cost holds the volume's charge.
  clock_.volumeRead(volume_.volume());
  const QString tunnels = volume_.tunnelsOnlyText();
  if (!tunnels.isEmpty() && runtime_.firstTime(QStringLiteral("tunnels only"))) {
    QTimer::singleShot(0, this, [this, tunnels] { runtime_.notice(tunnels); });
  }
}

void SessionRecorder::volumeChanged() {
  if (!running_) return;
  clock_.volumeRead(volume_.volume());
  checkLimits();
}

void SessionRecorder::checkLimits(bool afterHandler) {
  const QList<LimitNotice> notices = limits_.counted(runtime_, counted_, volume_.volume().total(),
                                                     clock_.cost(), clock_.currencySymbol());
  QStringList summaries;
  for (const LimitNotice& notice : notices) {
    summaries.append(notice.summary);
    notifier_.notify(notice.key, notice.summary, notice.body);
  }
  // Two limits reached in the same second are both shown.
  if (summaries.isEmpty()) return;
  const QString text = summaries.join(QStringLiteral("; "));
  if (!afterHandler) return clock_.say(text);
  // After the handler that stops the clock has written its own status.
  QTimer::singleShot(0, this, [this, text] { clock_.say(text); });
}

void SessionRecorder::close(SessionEnd end) {
  if (std::exchange(running_, false)) {
    readVolume();
    // The last reading can pass a limit too.
    if (counted_ > 0) checkLimits(true);
  }
  if (row_ == 0) return;
  const qint64 row = std::exchange(row_, 0);
  SessionJournal& journal = runtime_.journal();
  // A run that counted no second leaves no row (a connection that comes and
  // goes within a second).
  Status status = counted_ == 0
                      ? journal.discard(row)
                      : journal.finish(row, snapshot(), QDateTime::currentDateTimeUtc(), end);
  if (!status.ok() && end == SessionEnd::Stopped) report(QString::fromStdString(status.reason()));
  // The run is now among the recorded sessions.
  if (end == SessionEnd::Stopped) refreshAllowance(runtime_, clock_);
}

void SessionRecorder::report(const QString& reason) {
  if (reported_) return;
  reported_ = true;
  runtime_.notice(journalFailureText(runtime_, reason));
}

}  // namespace tempodial

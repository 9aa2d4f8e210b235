#include "windows/journal/session_recorder.h"

#include <QDateTime>
#include <QTimer>
#include <tuple>
#include <utility>

#include "platform/desktop/desktop_notifier.h"
#include "platform/forms/controls.h"
#include "platform/journal/session_journal.h"
#include "platform/runtime/runtime.h"
#include "windows/cost/options_window.h"
#include "windows/cost/plan_meter.h"
#include "windows/journal/journal_access.h"
#include "windows/main/main_window.h"

namespace tempodial {

SessionSnapshot SessionRecorder::snapshot() const {
  auto& options = main_.runtime().form<OptionsWindow>();
  SessionSnapshot now;
  now.hours = main_.RichTextBox3->text();
  now.minutes = main_.RichTextBox2->text();
  now.seconds = main_.RichTextBox1->text();
  now.cost = main_.cost->text();
  now.tariff = options.Combo1->text();
  now.rate = options.combo1ass->number();
  now.currency = main_.Label4->caption();
  if (auto plan = main_.planMeter().tariffForJournal()) std::tie(now.tariff, now.rate) = *plan;
  now.counted = counted_;
  now.received = volume_.volume().received;
  now.sent = volume_.volume().sent;
  return now;
}

void SessionRecorder::clockStarted() {
  row_ = 0;
  counted_ = written_ = 0;
  updates_ = 0;
  running_ = countedOnce_ = true;
  volume_.start();
  Runtime& rt = main_.runtime();
  const QDateTime start = QDateTime::currentDateTime();
  start_ = start;
  startCost_ = main_.cost->text();
  limits_.started(0, start, main_.cost->text());
  QString reason;
  if (!openJournal(rt, &reason)) {
    report(reason);
    return;
  }
  auto row = rt.journal().begin(snapshot(), start.toUTC(), start.offsetFromUtc());
  if (!row.ok()) {
    report(QString::fromStdString(row.reason()));
    return;
  }
  row_ = row.value();
  limits_.started(row_, start, main_.cost->text());
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
  if (main_.runtime().journal().fileGone() && !renewJournal()) return;
  const bool durable = ++updates_ % kUpdatesPerFlush == 0;
  Status status =
      main_.runtime().journal().update(row_, snapshot(), QDateTime::currentDateTimeUtc(), durable);
  if (status.ok()) return;
  row_ = 0;
  // Not from inside the tick: the message waits for the user, and the clock
  // must go on counting meanwhile.
  const QString reason = QString::fromStdString(status.reason());
  QTimer::singleShot(0, &main_, [this, reason] { report(reason); });
}

bool SessionRecorder::renewJournal() {
  Runtime& rt = main_.runtime();
  SessionJournal& journal = rt.journal();
  journal.close();
  row_ = 0;
  QString reason;
  Result<qint64> row = Result<qint64>::Error("the journal is not open");
  if (openJournal(rt, &reason)) {
    SessionSnapshot started = snapshot();
    started.cost = startCost_;
    row = journal.begin(started, start_.toUTC(), start_.offsetFromUtc());
    if (!row.ok()) reason = QString::fromStdString(row.reason());
  }
  // Told after the tick, as the clock goes on counting meanwhile.
  if (!row.ok()) {
    QTimer::singleShot(0, &main_, [this, reason] { report(reason); });
    return false;
  }
  const QString text = QStringLiteral(
                           "The session journal %1 was deleted while the clock ran. A new "
                           "journal has been started, and it keeps the running session.")
                           .arg(journal.path());
  QTimer::singleShot(0, &main_, [this, text] { main_.runtime().message(text); });
  row_ = row.value();
  limits_.started(row_, start_, startCost_);
  return true;
}

void SessionRecorder::readVolume() {
  running_ ? volume_.read() : volume_.stop();
  // Before the row is written, so that its cost holds the volume's charge.
  main_.planMeter().volumeCounted(volume_.volume().total());
  const QString tunnels = volume_.tunnelsOnlyText();
  if (!tunnels.isEmpty() && main_.runtime().firstTime(QStringLiteral("tunnels only"))) {
    QTimer::singleShot(0, &main_, [this, tunnels] { main_.runtime().message(tunnels); });
  }
}

void SessionRecorder::volumeChanged() {
  if (!running_) return;
  main_.planMeter().volumeCounted(volume_.volume().total());
  checkLimits();
}

void SessionRecorder::checkLimits(bool afterHandler) {
  const QList<LimitNotice> notices =
      limits_.counted(main_.runtime(), counted_, volume_.volume().total(), main_.cost->text(),
                      main_.Label4->caption());
  QStringList summaries;
  for (const LimitNotice& notice : notices) {
    summaries.append(notice.summary);
    notifier_.notify(notice.key, notice.summary, notice.body);
  }
  // Two limits reached in the same second are both shown.
  if (summaries.isEmpty()) return;
  const QString text = summaries.join(QStringLiteral("; "));
  if (!afterHandler) return main_.setStatus(text);
  // After the handler that stops the clock has written its own status.
  QTimer::singleShot(0, &main_, [this, text] { main_.setStatus(text); });
}

void SessionRecorder::close(SessionEnd end) {
  if (std::exchange(running_, false)) {
    readVolume();
    // The last reading can pass a limit too.
    if (counted_ > 0) checkLimits(true);
  }
  if (row_ == 0) return;
  const qint64 row = std::exchange(row_, 0);
  SessionJournal& journal = main_.runtime().journal();
  // A run that counted no second leaves no row (a connection that comes and
  // goes within a second).
  Status status = counted_ == 0
                      ? journal.discard(row)
                      : journal.finish(row, snapshot(), QDateTime::currentDateTimeUtc(), end);
  if (!status.ok() && end == SessionEnd::Stopped) report(QString::fromStdString(status.reason()));
}

void SessionRecorder::report(const QString& reason) {
  if (reported_) return;
  reported_ = true;
  main_.runtime().message(journalFailureText(main_.runtime(), reason));
}

}  // namespace tempodial

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
  return now;
}

void SessionRecorder::clockStarted() {
  row_ = 0;
  counted_ = written_ = 0;
  updates_ = 0;
  Runtime& rt = main_.runtime();
  const QDateTime start = QDateTime::currentDateTime();
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
  checkLimits();
  if (row_ == 0 || counted_ - written_ < kUpdateSeconds) return;
  written_ = counted_;
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

void SessionRecorder::checkLimits() {
  const QList<LimitNotice> notices =
      limits_.counted(main_.runtime(), counted_, main_.cost->text(), main_.Label4->caption());
  for (const LimitNotice& notice : notices) {
    main_.setStatus(notice.summary);
    notifier_.notify(notice.key, notice.summary, notice.body);
  }
}

void SessionRecorder::close(SessionEnd end) {
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

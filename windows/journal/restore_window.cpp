#include "windows/journal/restore_window.h"

#include <QHBoxLayout>
#include <QLocale>
#include <QVBoxLayout>

#include "platform/clock/clock_model.h"
#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "platform/journal/session_journal.h"
#include "platform/journal/settled_mark.h"
#include "platform/runtime/runtime.h"
#include "platform/session/journal_access.h"

namespace tempodial {

RestoreWindow::RestoreWindow(Runtime& runtime) : Form(runtime, QString::fromLatin1(kName), kIndex) {
  setWindowTitle(QStringLiteral("Restore last session?"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QWidget* area = client();
  Label1 = new Label(area, QStringLiteral("Label1"), QString());
  Label1->setWordWrap(true);
  Command1 = new Button(area, QStringLiteral("Command1"), QStringLiteral("&Restore"));
  Command2 = new Button(area, QStringLiteral("Command2"), QStringLiteral("&Discard"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Command1);
  buttons->addStretch(1);
  buttons->addWidget(Command2);
  auto* layout = new QVBoxLayout(area);
  layout->addWidget(Label1, 1);
  layout->addLayout(buttons);
  setLaidOut(QSize(320, 100));
  setTabOrder(Command1, Command2);
  Command1->setFocus();
  setCancelButton(Command2);  // Escape discards

  Command1->onClick = [this] {
    restore_ = answered_ = true;
    hide();
  };
  Command2->onClick = [this] {
    restore_ = false;
    answered_ = true;
    hide();
  };
}

void RestoreWindow::describe(const SessionRow& row) {
  const QDateTime ended = row.endUtc.toOffsetFromUtc(row.endOffset);
  const QString text =
      QStringLiteral(
          "The last session was cut short on %1, with %2:%3:%4 on the clock and %5 as "
          "the cost.")
          .arg(QLocale().toString(ended, QLocale::ShortFormat), row.hours, row.minutes,
               row.secondsText, row.costEnd.isEmpty() ? QStringLiteral("0") : row.costEnd);
  Label1->setCaption(text);
  Label1->setAccessibleName(text);
  setAccessibleDescription(text);
}

void offerRestore(Runtime& runtime, ClockModel& clock) {
  // The last row of a running clock is the running run itself.
  if (clock.running()) return;
  // A journal closed with nothing to ask is left unopened: start-up then
  // loads no SQLite at all.
  if (!runtime.journal().isOpen() && !journalMayHoldQuestion(runtime.journal().path())) return;
  // A journal that cannot be opened now is reported when the clock starts.
  if (!openJournal(runtime).ok()) return;
  SessionJournal& journal = runtime.journal();
  const auto row = journal.unansweredInterruption();
  if (!row) return;
  // The run ended with the program that ran it, whatever the answer.
  journal.markInterrupted(row->id);
  auto& window = runtime.form<RestoreWindow>();
  window.describe(*row);
  runtime.showModal(window);
  const bool answered = window.answered() && !runtime.ended();
  const bool restore = window.restoreChosen();
  runtime.unload(QString::fromLatin1(RestoreWindow::kName));
  // Unanswered (the program ended meanwhile): asked again at the next start.
  if (!answered) return;
  journal.markAnswered(row->id);
  // A clock started while the question was open keeps its own run.
  if (!restore || clock.running()) return;
  // As a TimeLog load does: seconds, minutes, hours, each carrying as typed.
  clock.setCounter(clock::Counter::Seconds, row->secondsText);
  clock.setCounter(clock::Counter::Minutes, row->minutes);
  clock.setCounter(clock::Counter::Hours, row->hours);
  clock.setCost(row->costEnd);
  clock.say(QStringLiteral("The last session has been restored"));
}

}  // namespace tempodial

#include "platform/session/journal_access.h"

#include "platform/journal/session_journal.h"
#include "platform/runtime/runtime.h"

namespace tempodial {

Status openJournal(Runtime& runtime) {
  SessionJournal& journal = runtime.journal();
  if (journal.isOpen()) return Status::Ok();
  QString movedAside;
  QString brokenReason;
  Status status = journal.open(&movedAside, &brokenReason);
  if (!movedAside.isEmpty()) {
    runtime.message(QStringLiteral("The session journal %1 could not be read (%2). It has been "
                                   "moved aside as %3, and a new journal has been started.")
                        .arg(journal.path(), brokenReason, movedAside));
  }
  return status;
}

QString journalFailureText(Runtime& runtime, const QString& reason) {
  return QStringLiteral(
             "The session journal %1 cannot be written: %2. The clock and the "
             "TimeLog work as before; the journal is tried again when the clock is "
             "next started.")
      .arg(runtime.journal().path(), reason);
}

}  // namespace tempodial

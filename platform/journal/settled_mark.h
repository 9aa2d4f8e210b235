// The settled mark: a small file beside the journal, written when the journal
// is closed with nothing left to ask about (no run open, no cut-short run
// unanswered). It holds the journal file's identity, size and change time as
// they stood then, so that a start finds out without SQLite whether the
// journal may hold a question: any later write, a copy that did not close the
// journal (its write-ahead log is left), or another file in its place all
// make the mark stale, and a stale or missing mark means "look".
#pragma once

#include <QString>

namespace tempodial {

// False only when the journal is missing or the mark vouches for it as it is.
bool journalMayHoldQuestion(const QString& journalPath);

// Writes the mark for the journal as it stands now (settled), or removes it.
void markJournalSettled(const QString& journalPath, bool settled);

}  // namespace tempodial

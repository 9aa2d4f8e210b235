// Opening the session journal from the windows, with the messages that tell
// the user when it had to be moved aside or cannot be written.
#pragma once

#include <QString>

#include "core/values/status.h"

namespace tempodial {

class Runtime;

// Opens the journal if it is not open. A broken journal moved aside is
// reported at once, naming both files and the reason. A journal that cannot
// be opened is the caller's to report.
Status openJournal(Runtime& runtime);

// The message for a journal that cannot be written.
QString journalFailureText(Runtime& runtime, const QString& reason);

}  // namespace tempodial

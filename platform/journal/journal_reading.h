// The session journal read from the command line, beside a running copy of
// the program that may go on writing it: opened read-only, never created,
// and refused when a newer version of the program wrote it.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>

#include "core/values/status.h"

namespace tempodial {

// "<data folder>/history.sqlite3".
QString journalPath(const QString& dataFolder);

// Runs `use` with the journal at `path` open. NotFound when there is no
// journal there; Unreadable, with the reason, when it cannot be opened or
// is of a newer version; otherwise what `use` returns. Qt SQL loads its
// driver as a plug-in, which wants an application object: the caller's.
Status readJournal(const QString& path, const std::function<Status(const QSqlDatabase&)>& use);

}  // namespace tempodial

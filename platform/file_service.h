// The file-system services every window uses: existence test, delete, atomic
// replace, bounded read and folder creation. Failures come back as values with
// a reason a user can read ("Permission denied", "Not a directory").
#pragma once

#include <QByteArray>
#include <QString>

#include "core/status.h"

namespace tempodial {

// Returns true iff a regular file (not a folder) of exactly that name exists.
bool fileExists(const QString& path);

// Returns true iff a folder of exactly that name exists.
bool folderExists(const QString& path);

// Deletes the file if present; an absent file is no error.
Status deleteIfPresent(const QString& path);

// Replaces the file whole and atomically: the bytes go to a temporary file
// beside it, which is flushed and renamed over the old one. On failure the
// old file is left as it was.
Status writeFileAtomic(const QString& path, const QByteArray& bytes);

// Reads the whole file. Fails for a missing or unreadable file, a folder, and a
// file larger than `maxBytes`.
Result<QByteArray> readWholeFile(const QString& path, qint64 maxBytes);

// Creates the folder and any missing parents; an existing folder is no error.
Status makeFolder(const QString& path);

}  // namespace tempodial

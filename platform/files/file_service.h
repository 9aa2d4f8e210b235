// The file-system services every window uses: existence test, delete, atomic
// replace, bounded read and folder creation. Failures come back as values with
// a reason a user can read ("Permission denied", "Not a directory").
#pragma once

#include <sys/stat.h>

#include <QByteArray>
#include <QString>

#include "core/values/status.h"

namespace tempodial {

// Returns true iff a regular file (not a folder) of exactly that name exists.
bool fileExists(const QString& path);
// Why the name `path` cannot even be looked up (a folder on the way that may
// not be searched, a loop of links); Ok when it is there or simply missing.
Status lookUp(const QString& path);

// Returns true iff a folder of exactly that name exists.
bool folderExists(const QString& path);

// Deletes the file if present; an absent file is no error.
Status deleteIfPresent(const QString& path);

// The reason given for a name that stands for something other than an
// ordinary file: a link to a device, a FIFO, a socket or a folder.
inline constexpr const char* kNotOrdinary = "not an ordinary file";

// What replacing the file at a path replaces: the end of its chain of
// symbolic links (the links stay), and the file there now, if any.
struct Replacement {
  QString target;
  bool existed = false;
  struct stat old {};
};
// Fails for a folder ("Is a directory"), anything else that is not an
// ordinary file, at the name or at the end of its links ("not an ordinary
// file"), and an existing file this process may not write.
Result<Replacement> replacementFor(const QString& path);

// Gives the open file `fd` the owner, group and mode of the file `old` it is
// to replace, where this process may; a refusal (another user's file) leaves
// the new file ours.
void keepOwnerAndMode(int fd, const struct stat& old);

// Replaces the file whole and atomically: the bytes go to a temporary file
// beside it, which is flushed and renamed over the old one. A symbolic link
// stays and its final target is replaced, which must be an ordinary file. The
// new file keeps the old one's owner and group (where permitted) and mode. On
// failure the old file is left as it was.
Status writeFileAtomic(const QString& path, const QByteArray& bytes);

// Reads the whole file. Fails at once, never waiting, for anything but an
// ordinary file (a FIFO, a device, a socket, a folder), and for a missing or
// unreadable file and a file larger than `maxBytes`.
Result<QByteArray> readWholeFile(const QString& path, qint64 maxBytes);

// Creates the folder and any missing parents; an existing folder is no error.
Status makeFolder(const QString& path);

}  // namespace tempodial

// Where an export of the history goes, and writing it there without ever
// destroying what the name stands for: an ordinary file (or a link to one) is
// replaced atomically, keeping its owner, group and mode; a FIFO, a character
// device and "-" (standard output) receive the text as a stream, as `cat`
// would write it, and stay as they are; a folder, a socket and a block device
// are refused, and so are the program's own files.
#pragma once

#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <memory>
#include <string_view>

#include "core/values/status.h"

namespace tempodial {

class Places;

// The reason given for an export aimed at one of the program's own files.
inline constexpr const char* kOwnFile = "that is the program's own file";

// The reason given when the program reading a FIFO does not take what is written.
inline constexpr const char* kReaderNotReading = "the program reading from it does not read";

// The files an export never writes: the session journal at `journalPath`
// with its -wal, -shm and .settled companions, the lock file, the settings
// file, and the classic files of both places.
QStringList programFiles(const Places& places, const QString& journalPath);

class ExportOutput {
 public:
  // Whether opening a FIFO that nobody reads waits for a reader (the command
  // line, as `cat` would) or fails at once (a window, which must not hang:
  // its streams never wait, and a reader that does not read fails a write
  // with kReaderNotReading).
  enum class Reader { Wait, Required };

  // Decides what `target` is and opens it for writing; nothing on the disk
  // changes before finish(). Fails with a reason for a folder ("Is a
  // directory"), a socket, a block device, a file among `ownFiles` through
  // any path or link (kOwnFile), and whatever the system refuses.
  static Result<std::unique_ptr<ExportOutput>> open(const QString& target,
                                                    const QStringList& ownFiles, Reader reader);
  ~ExportOutput();
  ExportOutput(const ExportOutput&) = delete;
  ExportOutput& operator=(const ExportOutput&) = delete;

  // Writes the next piece; false when it cannot, with the reason in error().
  bool write(std::string_view bytes);
  // A stream: what writeSome() writes, as its reader takes it.
  bool isStream() const { return fd_ >= 0; }
  int streamHandle() const { return fd_; }
  // Writes what a stream takes now of `bytes` without waiting; returns how
  // much, or -1 with the reason in error().
  qint64 writeSome(std::string_view bytes);
  // Completes the export: the replacing file takes the old one's place, or
  // the stream is closed. Fails with the reason of any failed write.
  Status finish();
  // Gives up: a replacing file is thrown away, the old one stays.
  void cancel();
  const std::string& error() const { return error_; }

 private:
  ExportOutput() = default;

  std::unique_ptr<QSaveFile> file_;  // an ordinary file being replaced
  int fd_ = -1;                      // a stream: standard output, a FIFO, a device
  bool ownsFd_ = false;
  std::string error_;
};

}  // namespace tempodial

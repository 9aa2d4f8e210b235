#include "platform/files/export_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "core/files/file_places.h"
#include "core/files/save_unit.h"
#include "platform/files/file_service.h"
#include "platform/files/places.h"
#include "platform/files/settings_file.h"

namespace tempodial {
namespace {

QByteArray local(const QString& path) { return QFile::encodeName(path); }

// The name a path finally stands for: the end of its chain of links, in a
// folder named without links, so that two ways to the same name compare
// equal even where no file is there yet.
QString finalName(const QString& path) {
  QString name = QFileInfo(path).absoluteFilePath();
  for (int hops = 0; hops < 40 && QFileInfo(name).isSymLink(); ++hops) {
    name = QFileInfo(name).symLinkTarget();
  }
  const QFileInfo info(name);
  const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
  if (folder.isEmpty()) return QDir::cleanPath(info.absoluteFilePath());
  return folder + QLatin1Char('/') + info.fileName();
}

bool isOwnFile(const QString& target, const QStringList& ownFiles) {
  struct stat aimed {};
  const bool aimedExists = ::stat(local(target).constData(), &aimed) == 0;
  const QString aimedName = finalName(target);
  for (const QString& own : ownFiles) {
    struct stat ours {};
    if (aimedExists && ::stat(local(own).constData(), &ours) == 0 && ours.st_dev == aimed.st_dev &&
        ours.st_ino == aimed.st_ino) {
      return true;
    }
    if (finalName(own) == aimedName) return true;
  }
  return false;
}

std::string refusalFor(mode_t mode) {
  if (S_ISDIR(mode)) return std::strerror(EISDIR);
  if (S_ISSOCK(mode)) return "it is a socket";
  if (S_ISBLK(mode)) return "it is a block device";
  return kNotOrdinary;
}

// A write into a FIFO whose reader has gone must come back as an error, not
// end the program: the signal is ignored while a stream is open.
struct sigaction ignorePipeSignal() {
  struct sigaction ignore {};
  struct sigaction old {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGPIPE, &ignore, &old);
  return old;
}

struct sigaction savedPipeAction {};
int openStreams = 0;

}  // namespace

QStringList programFiles(const Places& places, const QString& journalPath) {
  QStringList own{journalPath, journalPath + QStringLiteral("-wal"),
                  journalPath + QStringLiteral("-shm"), journalPath + QStringLiteral(".settled")};
  for (Place place : {Place::Windows, Place::Data}) {
    for (std::string_view name : files::kAll) own << places.path(place, name);
    own << places.path(place, kUnitRecordName);
  }
  own << places.root() + QStringLiteral("/tempodial.lock") << settingsPath();
  return own;
}

Result<std::unique_ptr<ExportOutput>> ExportOutput::open(const QString& target,
                                                         const QStringList& ownFiles,
                                                         Reader reader) {
  using R = Result<std::unique_ptr<ExportOutput>>;
  std::unique_ptr<ExportOutput> out(new ExportOutput);
  if (target == QLatin1String("-")) {
    out->fd_ = STDOUT_FILENO;
  } else {
    if (isOwnFile(target, ownFiles)) return R::Error(kOwnFile);
    struct stat info {};
    const bool exists = ::stat(local(target).constData(), &info) == 0;
    if (!exists && errno != ENOENT) return R::Error(std::strerror(errno));
    if (exists && (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode))) {
      int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
      if (reader == Reader::Required) flags |= O_NONBLOCK;
      int fd = -1;
      do {
        fd = ::open(local(target).constData(), flags);
      } while (fd < 0 && errno == EINTR);
      if (fd < 0 && errno == ENXIO && S_ISFIFO(info.st_mode)) {
        return R::Error("no program is reading from it");
      }
      if (fd < 0) return R::Error(std::strerror(errno));
      // What was opened may have been swapped for something else meanwhile.
      struct stat opened {};
      if (::fstat(fd, &opened) != 0 || !(S_ISFIFO(opened.st_mode) || S_ISCHR(opened.st_mode))) {
        ::close(fd);
        return R::Error(kNotOrdinary);
      }
      out->fd_ = fd;
      out->ownsFd_ = true;
    } else if (exists && !S_ISREG(info.st_mode)) {
      return R::Error(refusalFor(info.st_mode));
    } else {
      auto replacement = replacementFor(target);
      if (!replacement.ok()) return R::FromStatus(replacement.status());
      const Replacement& to = replacement.value();
      out->file_ = std::make_unique<QSaveFile>(to.target);
      errno = 0;
      if (!out->file_->open(QIODevice::WriteOnly)) {
        const int saved = errno;
        return R::Error(saved != 0 ? std::strerror(saved)
                                   : out->file_->errorString().toStdString());
      }
      if (to.existed) keepOwnerAndMode(out->file_->handle(), to.old);
      return R::Value(std::move(out));
    }
  }
  if (openStreams++ == 0) savedPipeAction = ignorePipeSignal();
  return R::Value(std::move(out));
}

ExportOutput::~ExportOutput() {
  cancel();
  if (fd_ >= 0 && --openStreams == 0) ::sigaction(SIGPIPE, &savedPipeAction, nullptr);
  if (ownsFd_) ::close(fd_);
}

qint64 ExportOutput::writeSome(std::string_view bytes) {
  if (!error_.empty()) return -1;
  ssize_t done = 0;
  do {
    done = ::write(fd_, bytes.data(), bytes.size());
  } while (done < 0 && errno == EINTR);
  if (done < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
  if (done < 0 || (done == 0 && !bytes.empty())) {
    error_ = std::strerror(done < 0 ? errno : ENOSPC);
    return -1;
  }
  return done;
}

bool ExportOutput::write(std::string_view bytes) {
  if (!error_.empty()) return false;
  if (file_) {
    errno = 0;
    if (file_->write(bytes.data(), static_cast<qint64>(bytes.size())) ==
        static_cast<qint64>(bytes.size())) {
      return true;
    }
    error_ = errno != 0 ? std::strerror(errno) : file_->errorString().toStdString();
    return false;
  }
  while (!bytes.empty()) {
    const ssize_t done = ::write(fd_, bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      error_ = kReaderNotReading;
      return false;
    }
    if (done <= 0) {
      error_ = std::strerror(done < 0 ? errno : ENOSPC);
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(done));
  }
  return true;
}

Status ExportOutput::finish() {
  if (!error_.empty()) {
    cancel();
    return Status::Error(error_);
  }
  if (file_) {
    errno = 0;
    // The last piece is written by the flush, whose failure commit() does not
    // report.
    if (!file_->flush() || !file_->commit()) {
      const int saved = errno;
      error_ = saved != 0 ? std::strerror(saved) : file_->errorString().toStdString();
    }
    file_.reset();
  } else if (ownsFd_) {
    if (::close(fd_) != 0 && errno != EINTR) error_ = std::strerror(errno);
    ownsFd_ = false;
  }
  return error_.empty() ? Status::Ok() : Status::Error(error_);
}

void ExportOutput::cancel() {
  if (file_) file_->cancelWriting();
  file_.reset();
}

}  // namespace tempodial

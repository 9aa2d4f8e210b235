#include "platform/files/file_service.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tempodial {
namespace {

std::string errnoReason(int error) { return std::strerror(error); }

// QFile reports its own English text; errno from the failing call is more
// precise ("Not a directory", "No space left on device") when it is set.
std::string reasonFor(const QFileDevice& file, int savedErrno) {
  if (savedErrno != 0) return errnoReason(savedErrno);
  return file.errorString().toStdString();
}

QByteArray local(const QString& path) { return QFile::encodeName(path); }

}  // namespace

void keepOwnerAndMode(int fd, const struct stat& old) {
  if (fd < 0) return;
  struct stat now {};
  if (::fstat(fd, &now) != 0) return;
  if (now.st_uid != old.st_uid || now.st_gid != old.st_gid) {
    // Else at least the group; a file that keeps neither still keeps its text.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, now.st_uid, old.st_gid) != 0) {
    }
  }
  (void)::fchmod(fd, old.st_mode & 07777);
}

bool fileExists(const QString& path) {
  QFileInfo info(path);
  return info.exists() && info.isFile();
}

Status lookUp(const QString& path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) == 0 || errno == ENOENT ||
      errno == ENOTDIR) {
    return Status::Ok();
  }
  return Status::Error(std::strerror(errno));
}

bool folderExists(const QString& path) {
  QFileInfo info(path);
  return info.exists() && info.isDir();
}

Status deleteIfPresent(const QString& path) {
  std::error_code error;
  std::filesystem::path target(path.toStdString());
  auto status = std::filesystem::symlink_status(target, error);
  if (error || !std::filesystem::exists(status)) return Status::Ok();
  if (std::filesystem::is_directory(status)) return Status::Error("Is a directory");
  if (!std::filesystem::remove(target, error) && error) return Status::Error(error.message());
  return Status::Ok();
}

Result<Replacement> replacementFor(const QString& path) {
  QString target = path;
  bool linked = false;
  for (int hops = 0;; ++hops) {
    struct stat link {};
    if (::lstat(local(target).constData(), &link) != 0) {
      // Nothing there yet (or a folder on the way is missing, which the
      // write itself reports): the file is created at the end of the links.
      return Result<Replacement>::Value({target, false, {}});
    }
    if (!S_ISLNK(link.st_mode)) {
      if (S_ISDIR(link.st_mode)) {
        return Result<Replacement>::Error(linked ? kNotOrdinary : errnoReason(EISDIR));
      }
      // A FIFO or a device is never replaced by a file, whether it stands at
      // the name itself or at the end of its links.
      if (!S_ISREG(link.st_mode)) return Result<Replacement>::Error(kNotOrdinary);
      if (::access(local(target).constData(), W_OK) != 0) {
        return Result<Replacement>::Error(errnoReason(errno));
      }
      return Result<Replacement>::Value({target, true, link});
    }
    if (hops == 40) return Result<Replacement>::Error(errnoReason(ELOOP));
    linked = true;
    const QString next = QFileInfo(target).symLinkTarget();
    if (next.isEmpty()) return Result<Replacement>::Error(kNotOrdinary);
    target = next;
  }
}

Status writeFileAtomic(const QString& path, const QByteArray& bytes) {
  auto replacement = replacementFor(path);
  if (!replacement.ok()) return replacement.status();
  const Replacement& to = replacement.value();
  QSaveFile file(to.target);
  errno = 0;
  if (!file.open(QIODevice::WriteOnly)) {
    int saved = errno;
    if (folderExists(to.target)) return Status::Error("Is a directory");
    return Status::Error(reasonFor(file, saved));
  }
  if (to.existed) keepOwnerAndMode(file.handle(), to.old);
  errno = 0;
  if (file.write(bytes) != bytes.size() || !file.flush()) {
    int saved = errno;
    std::string reason = reasonFor(file, saved);
    file.cancelWriting();
    return Status::Error(reason);
  }
  errno = 0;
  if (!file.commit()) {
    int saved = errno;
    return Status::Error(reasonFor(file, saved));
  }
  return Status::Ok();
}

Result<QByteArray> readWholeFile(const QString& path, qint64 maxBytes) {
  using R = Result<QByteArray>;
  struct stat info {};
  if (::stat(local(path).constData(), &info) != 0) return R::Error(errnoReason(errno));
  if (S_ISDIR(info.st_mode)) return R::Error(errnoReason(EISDIR));
  if (!S_ISREG(info.st_mode)) return R::Error(kNotOrdinary);
  // Non-blocking, and tested again once open: what is opened may have been
  // swapped for a FIFO or a device since the test above.
  int fd = ::open(local(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return R::Error(errnoReason(errno));
  struct stat opened {};
  if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
    ::close(fd);
    return R::Error(kNotOrdinary);
  }
  // Read one byte past the bound so that a file that grew since the size
  // test is still caught.
  QByteArray bytes;
  char buffer[16384];
  while (bytes.size() <= maxBytes) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      int saved = errno;
      ::close(fd);
      return R::Error(errnoReason(saved));
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<qsizetype>(got));
  }
  ::close(fd);
  if (bytes.size() > maxBytes) return R::Error("File too large");
  return R::Value(bytes);
}

Status makeFolder(const QString& path) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path.toStdString()), error);
  if (error) return Status::Error(error.message());
  if (!folderExists(path)) return Status::Error(errnoReason(ENOTDIR));
  return Status::Ok();
}

}  // namespace tempodial

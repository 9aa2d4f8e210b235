#include "platform/file_service.h"

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

}  // namespace

bool fileExists(const QString& path) {
  QFileInfo info(path);
  return info.exists() && info.isFile();
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

Status writeFileAtomic(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  errno = 0;
  if (!file.open(QIODevice::WriteOnly)) {
    int saved = errno;
    if (folderExists(path)) return Status::Error("Is a directory");
    return Status::Error(reasonFor(file, saved));
  }
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
  QFileInfo info(path);
  if (!info.exists()) return Result<QByteArray>::Error(errnoReason(ENOENT));
  if (info.isDir()) return Result<QByteArray>::Error(errnoReason(EISDIR));
  QFile file(path);
  errno = 0;
  if (!file.open(QIODevice::ReadOnly)) {
    return Result<QByteArray>::Error(reasonFor(file, errno));
  }
  // Read one byte past the bound so that a file that grew since the size
  // test is still caught.
  QByteArray bytes = file.read(maxBytes + 1);
  if (bytes.size() > maxBytes) return Result<QByteArray>::Error("File too large");
  if (file.error() != QFileDevice::NoError) {
    return Result<QByteArray>::Error(file.errorString().toStdString());
  }
  return Result<QByteArray>::Value(bytes);
}

Status makeFolder(const QString& path) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path.toStdString()), error);
  if (error) return Status::Error(error.message());
  if (!folderExists(path)) return Status::Error(errnoReason(ENOTDIR));
  return Status::Ok();
}

}  // namespace tempodial

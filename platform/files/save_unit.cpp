#include "platform/files/save_unit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "core/files/save_unit.h"
#include "platform/files/file_service.h"
#include "platform/files/places.h"

namespace tempodial {
namespace {

QByteArray local(const QString& path) { return QFile::encodeName(path); }
QString staged(const QString& target) {
  return QString::fromStdString(stagedPath(target.toStdString()));
}

// Makes the renames and removals in a folder durable.
void syncFolder(const QString& folder) {
  int fd = ::open(local(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}

bool isOrdinaryFile(const QString& path) {
  struct stat info {};
  return ::lstat(local(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

// Writes the staged document for `to`, durable on return. Returns the reason
// on failure (and leaves no staged file).
std::string writeStaged(const Replacement& to, const QByteArray& bytes) {
  const QString path = staged(to.target);
  const mode_t mode = to.existed ? (to.old.st_mode & 07777) : 0666;
  ::unlink(local(path).constData());
  int fd =
      ::open(local(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  if (fd < 0) return std::strerror(errno);
  if (to.existed) {
    // Else at least the group; a file that keeps neither still keeps its text.
    if (::fchown(fd, to.old.st_uid, to.old.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), to.old.st_gid) != 0) {
    }
    (void)::fchmod(fd, mode);
  }
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  int error = 0;
  while (left > 0) {
    ssize_t done = ::write(fd, data, static_cast<size_t>(left));
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) {
      error = done < 0 ? errno : ENOSPC;
      break;
    }
    data += done;
    left -= done;
  }
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0) return {};
  ::unlink(local(path).constData());
  return std::strerror(error);
}

void removeStaged(const std::vector<Replacement>& targets) {
  for (const Replacement& to : targets) ::unlink(local(staged(to.target)).constData());
}

}  // namespace

UnitOutcome saveUnit(const QString& recordPath, const std::vector<UnitFile>& files,
                     const UnitStepHook& hook) {
  auto step = [&](UnitStep at, int index) {
    if (hook) hook(at, index);
  };
  std::vector<Replacement> targets;
  for (const UnitFile& file : files) {
    auto to = replacementFor(file.path);
    if (!to.ok()) return {false, file.path, to.reason()};
    targets.push_back(to.value());
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::string reason = writeStaged(targets[i], files[i].bytes);
    if (!reason.empty()) {
      removeStaged({targets.begin(), targets.begin() + static_cast<std::ptrdiff_t>(i)});
      return {false, files[i].path, reason};
    }
  }
  // The staged names must be on disk before a record that relies on them.
  for (const Replacement& to : targets) syncFolder(QFileInfo(to.target).path());
  step(UnitStep::Staged, 0);

  std::vector<std::string> finals;
  for (const Replacement& to : targets) finals.push_back(to.target.toStdString());
  Status recorded = writeFileAtomic(recordPath, QByteArray::fromStdString(writeUnitRecord(finals)));
  if (!recorded.ok()) {
    removeStaged(targets);
    return {false, recordPath, recorded.reason()};
  }
  step(UnitStep::Recorded, 0);

  // From here the unit is committed: a rename that fails now is completed by
  // the next start, which finds the record still there.
  UnitOutcome outcome;
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const QString& target = targets[i].target;
    if (::rename(local(staged(target)).constData(), local(target).constData()) != 0 && outcome.ok) {
      outcome = {false, files[i].path, std::strerror(errno)};
    }
    step(UnitStep::Renamed, static_cast<int>(i));
  }
  for (const Replacement& to : targets) syncFolder(QFileInfo(to.target).path());
  if (!outcome.ok) return outcome;
  ::unlink(local(recordPath).constData());
  syncFolder(QFileInfo(recordPath).path());
  step(UnitStep::Finished, 0);
  return outcome;
}

void finishInterruptedUnit(const QString& recordPath) {
  if (!isOrdinaryFile(recordPath)) return;
  auto text = readWholeFile(recordPath, 64 * 1024);
  if (text.ok()) {
    UnitRecovery plan = planRecovery(text.value().toStdString());
    for (const std::string& target : plan.finalPaths) {
      const QString final = QString::fromStdString(target);
      const QString from = staged(final);
      if (!isOrdinaryFile(from)) continue;  // renamed before the interruption
      if (::rename(local(from).constData(), local(final).constData()) == 0) {
        syncFolder(QFileInfo(final).path());
      }
    }
  }
  ::unlink(local(recordPath).constData());
  syncFolder(QFileInfo(recordPath).path());
}

void removeSaveLeftovers(const QString& folder) {
  const QStringList names =
      QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
  bool removed = false;
  for (const QString& name : names) {
    if (!isSaveLeftover(name.toStdString())) continue;
    const QString path = folder + QLatin1Char('/') + name;
    if (isOrdinaryFile(path) && ::unlink(local(path).constData()) == 0) removed = true;
  }
  if (removed) syncFolder(folder);
}

void recoverInterruptedSaves(const Places& places) {
  for (Place place : {Place::Windows, Place::Data}) {
    finishInterruptedUnit(places.path(place, kUnitRecordName));
    removeSaveLeftovers(places.folder(place));
  }
}

}  // namespace tempodial

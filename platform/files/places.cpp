#include "platform/files/places.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>

namespace tempodial {
namespace {

// A home folder the program may write under: absolute, and not the root
// folder that an unset HOME would otherwise give.
bool usableHome(const QString& home) {
  return QDir::isAbsolutePath(home) && QDir::cleanPath(home) != QStringLiteral("/");
}

}  // namespace

QString whyNotPrivate(const QString& path) {
  struct stat info {};
  if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
    return QString::fromLocal8Bit(std::strerror(errno));
  }
  if (S_ISLNK(info.st_mode)) return QStringLiteral("it is a symbolic link");
  if (!S_ISDIR(info.st_mode)) return QStringLiteral("it is not a folder");
  if (info.st_uid != ::getuid()) return QStringLiteral("it belongs to another user");
  if ((info.st_mode & 077) != 0) {
    return QStringLiteral("other users have access to it (mode %1)")
        .arg(info.st_mode & 07777, 4, 8, QLatin1Char('0'));
  }
  return {};
}

QString privateFolder(const QString& wanted, QString* notice) {
  const QByteArray path = QFile::encodeName(wanted);
  // Made here with no access for others, or found: either way checked, so
  // that a folder someone else made in the meantime is never taken.
  ::mkdir(path.constData(), 0700);
  const QString why = whyNotPrivate(wanted);
  if (why.isEmpty()) return wanted;
  QByteArray pattern = path + "-XXXXXX";
  const char* made = ::mkdtemp(pattern.data());
  const QString instead = made != nullptr ? QFile::decodeName(made) : wanted;
  if (notice != nullptr) {
    *notice = QStringLiteral(
                  "The folder %1 is not your own private folder (%2), so Tempodial keeps its "
                  "files in %3 for this run.")
                  .arg(wanted, why, instead);
  }
  return instead;
}

QString Places::homeFolder(QString* notice) {
  const QString fromEnvironment = qEnvironmentVariable("HOME");
  if (usableHome(fromEnvironment)) return QDir::cleanPath(fromEnvironment);
  if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
    const QString fromDatabase = QFile::decodeName(user->pw_dir);
    if (usableHome(fromDatabase)) return QDir::cleanPath(fromDatabase);
  }
  // No home at all: a folder of this user's own under the temporary folder
  // rather than one under "/".
  return privateFolder(
      QDir::tempPath() + QStringLiteral("/tempodial-") + QString::number(::getuid()), notice);
}

Places Places::fromEnvironment(QString* notice) {
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
    base = homeFolder(notice) + QStringLiteral("/.local/share");
  }
  return Places(base + QStringLiteral("/tempodial"));
}

QString Places::folder(Place place) const {
  return QString::fromStdString(placeFolder(root_.toStdString(), place));
}

QString Places::path(Place place, std::string_view name) const {
  return QString::fromStdString(placePath(root_.toStdString(), place, name));
}

}  // namespace tempodial

#include "platform/files/places.h"

#include <pwd.h>
#include <unistd.h>

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

QString Places::homeFolder() {
  const QString fromEnvironment = qEnvironmentVariable("HOME");
  if (usableHome(fromEnvironment)) return QDir::cleanPath(fromEnvironment);
  if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
    const QString fromDatabase = QFile::decodeName(user->pw_dir);
    if (usableHome(fromDatabase)) return QDir::cleanPath(fromDatabase);
  }
  // No home at all: a folder of this user's own under the temporary folder
  // rather than one under "/".
  return QDir::tempPath() + QStringLiteral("/tempodial-") + QString::number(::getuid());
}

Places Places::fromEnvironment() {
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
    base = homeFolder() + QStringLiteral("/.local/share");
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

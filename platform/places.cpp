#include "platform/places.h"

#include <QDir>
#include <QStandardPaths>

namespace tempodial {

Places Places::fromEnvironment() {
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
    base = QDir::homePath() + QStringLiteral("/.local/share");
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

#include "platform/desktop/autostart.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/files/file_service.h"

namespace tempodial {
namespace {

// One argument of an Exec line: quoted where it holds a blank or a character
// the desktop entry format reserves, with `"`, `` ` ``, `$` and `\` escaped;
// `%` is doubled everywhere, as field codes begin with it.
QString execArgument(const QString& text) {
  static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
  bool quote = false;
  QString out;
  for (QChar c : text) {
    if (reserved.contains(c)) quote = true;
    if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
        c == QLatin1Char('\\')) {
      out += QLatin1Char('\\');
    }
    out += c;
    if (c == QLatin1Char('%')) out += c;
  }
  if (!quote) return out;
  // Inside quotes a backslash is itself escaped once more by the file format.
  out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  return QLatin1Char('"') + out + QLatin1Char('"');
}

}  // namespace

QString autostartPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/autostart/tempodial.desktop");
}

bool startsAtLogin() {
  auto text = readWholeFile(autostartPath(), 64 * 1024);
  if (!text.ok()) return false;
  for (const QByteArray& raw : text.value().split('\n')) {
    const QByteArray line = raw.trimmed();
    if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false") return false;
  }
  return true;
}

QByteArray autostartEntry(const QString& program) {
  const QString name = QFileInfo(program).fileName();
  const QString found = QStandardPaths::findExecutable(name);
  const bool byName = !found.isEmpty() && QFileInfo(found).canonicalFilePath() ==
                                              QFileInfo(program).canonicalFilePath();
  // --login: the program knows the desktop started it.
  QString exec = (byName ? name : execArgument(program)) + QStringLiteral(" --login");
  // A path with a `%` (written `%%`) is no program's path until the desktop
  // has read the line: desktops that look for the program first (GLib) would
  // not load the entry. The shell starts it, given the path as an argument.
  if (!byName && program.contains(QLatin1Char('%'))) {
    exec = QStringLiteral("sh -c ") + execArgument(QStringLiteral("exec \"$0\" --login")) +
           QLatin1Char(' ') + execArgument(program);
  }
  return QByteArrayLiteral(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Tempodial\n"
             "Comment=Time your online sessions and estimate what the calls cost\n"
             "Exec=") +
         exec.toUtf8() +
         QByteArrayLiteral(
             "\n"
             "Icon=tempodial\n"
             "Terminal=false\n"
             "X-GNOME-Autostart-enabled=true\n");
}

Status setStartAtLogin(bool on) {
  const QString path = autostartPath();
  if (!on) return deleteIfPresent(path);
  Status folder = makeFolder(QFileInfo(path).path());
  if (!folder.ok()) return folder;
  return writeFileAtomic(path, autostartEntry(QCoreApplication::applicationFilePath()));
}

}  // namespace tempodial

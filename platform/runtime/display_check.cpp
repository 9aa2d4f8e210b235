#include "platform/runtime/display_check.h"

#include <unistd.h>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstring>

namespace tempodial {
namespace {

constexpr const char* kNoDisplay = "tempodial: cannot open a display\n";

QtMessageHandler previousHandler = nullptr;

[[noreturn]] void endWithoutDisplay() {
  std::fputs(kNoDisplay, stderr);
  std::fflush(stderr);
  ::_exit(1);
}

// Qt's only way to report that no window system could be reached is a fatal
// message about the platform plugin, which would abort.
void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg && text.contains(QStringLiteral("platform plugin"))) endWithoutDisplay();
  if (previousHandler != nullptr) previousHandler(type, context, text);
}

// The window-system plugin list the application will try ("xcb",
// "wayland;xcb", "offscreen").
QByteArray chosenPlatforms(int argc, char* argv[]) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
      return QByteArray(argv[i + 1]);
    }
  }
  QByteArray fromEnvironment = qgetenv("QT_QPA_PLATFORM");
  return fromEnvironment.isEmpty() ? QByteArray("xcb") : fromEnvironment;
}

// Returns true iff every plugin in the list draws on a display server.
bool needsDisplayServer(const QByteArray& platforms) {
  for (const QByteArray& entry : platforms.split(';')) {
    const QByteArray name = entry.split(':').front().trimmed();
    if (name.isEmpty()) continue;
    if (name != "xcb" && !name.startsWith("wayland")) return false;
  }
  return true;
}

}  // namespace

void exitUnlessDisplayCanOpen(int argc, char* argv[]) {
  if (needsDisplayServer(chosenPlatforms(argc, argv)) && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    endWithoutDisplay();
  }
  previousHandler = qInstallMessageHandler(onMessage);
}

}  // namespace tempodial

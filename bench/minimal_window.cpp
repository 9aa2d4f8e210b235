// The yardstick for start-up and memory: a minimal Qt Widgets program that
// shows one window, measured exactly as Tempodial is.
#include <QApplication>
#include <QLabel>

#include "platform/runtime/first_paint_probe.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tempodial::installFirstPaintProbe();
  QLabel window(QStringLiteral("A minimal window"));
  window.setWindowTitle(QStringLiteral("Minimal"));
  window.resize(384, 288);
  window.show();
  return QApplication::exec();
}

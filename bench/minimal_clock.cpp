// The yardstick for wake-ups: the smallest Qt Widgets clock, one label whose
// text a QTimer changes once a second, measured exactly as Tempodial is.
#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QLabel window;
  window.setWindowTitle(QStringLiteral("Minimal clock"));
  window.resize(200, 60);
  int seconds = 0;
  const auto show = [&] {
    window.setText(QTime(0, 0).addSecs(seconds).toString(QStringLiteral("H:mm:ss")));
  };
  show();
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, &window, [&] {
    ++seconds;
    show();
  });
  timer.start(1000);
  window.show();
  return QApplication::exec();
}

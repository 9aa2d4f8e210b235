#include "platform/runtime/first_paint_probe.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace tempodial {
namespace {

// The main window's name, as the forms runtime gives it to the window.
constexpr const char* kMainWindow = "timer";

void print(const char* what) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::fprintf(stderr, "%s %lld\n", what,
               static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec);
  std::fflush(stderr);
}

class FirstPaintProbe : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint || !watched->isWidgetType()) return false;
    if (!anyPainted_) {
      anyPainted_ = true;
      print("first-paint");
    }
    if (static_cast<QWidget*>(watched)->window()->objectName() == QLatin1String(kMainWindow)) {
      print("main-paint");
      QCoreApplication::instance()->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }

 private:
  bool anyPainted_ = false;
};

}  // namespace

void installFirstPaintProbe() {
  if (qEnvironmentVariableIsEmpty("TEMPODIAL_FIRST_PAINT")) return;
  QCoreApplication::instance()->installEventFilter(
      new FirstPaintProbe(QCoreApplication::instance()));
}

}  // namespace tempodial

#include "platform/runtime/first_paint_probe.h"

#include <QApplication>
#include <QEvent>
#include <cstdio>
#include <ctime>

namespace tempodial {
namespace {

class FirstPaintProbe : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType()) {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      std::fprintf(stderr, "first-paint %lld\n",
                   static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec);
      std::fflush(stderr);
      QCoreApplication::instance()->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }
};

}  // namespace

void installFirstPaintProbe() {
  if (qEnvironmentVariableIsEmpty("TEMPODIAL_FIRST_PAINT")) return;
  QCoreApplication::instance()->installEventFilter(
      new FirstPaintProbe(QCoreApplication::instance()));
}

}  // namespace tempodial

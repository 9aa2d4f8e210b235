#include "platform/runtime/input_paint_probe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace tempodial {
namespace {

class InputPaintProbe : public QObject {
 public:
  using QObject::QObject;

  void expect(QWidget* window, const char* step) {
    window_ = window;
    step_ = step;
    since_ = lastInput_;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
        lastInput_ = clock_.nsecsElapsed();
        break;
      case QEvent::Paint:
        if (!window_.isNull() && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_) {
          window_.clear();
          // Timed once the paint in progress has been handed to the screen.
          QTimer::singleShot(0, this, [this, step = step_, since = since_] {
            std::fprintf(stderr, "paint-after-input %s %.2f\n", step,
                         double(clock_.nsecsElapsed() - since) / 1e6);
            std::fflush(stderr);
          });
        }
        break;
      default:
        break;
    }
    return false;
  }

 private:
  QElapsedTimer clock_ = [] {
    QElapsedTimer started;
    started.start();
    return started;
  }();
  qint64 lastInput_ = 0;
  qint64 since_ = 0;
  QPointer<QWidget> window_;
  const char* step_ = "";
};

InputPaintProbe* probe = nullptr;

}  // namespace

void installInputPaintProbe() {
  if (probe != nullptr || qEnvironmentVariableIsEmpty("TEMPODIAL_PAINT_TIMES")) return;
  probe = new InputPaintProbe(QCoreApplication::instance());
  QCoreApplication::instance()->installEventFilter(probe);
}

void reportNextPaint(QWidget* window, const char* step) {
  if (probe != nullptr) probe->expect(window, step);
}

}  // namespace tempodial

#include "windows/main/caption_events.h"

#include <QEvent>

#include "platform/clock/clock_model.h"
#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "platform/forms/window_system.h"
#include "platform/runtime/runtime.h"
#include "windows/cost/options_window.h"
#include "windows/main/main_window.h"
#include "windows/programs/button_bar.h"

namespace tempodial {
namespace {

bool isCurrent(const MainWindow& main) {
  return !main.unloaded() && !main.runtime().ended() &&
         main.runtime().loadedForm(QString::fromLatin1(MainWindow::kName)) == &main;
}

// Refreshes the captions when the window manager minimises or restores the
// main window.
class WindowStateWatch : public QObject {
 public:
  explicit WindowStateWatch(MainWindow& main) : QObject(&main), main_(main) {
    main.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &main_ && event->type() == QEvent::WindowStateChange && isCurrent(main_)) {
      main_.refreshCaptions();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  MainWindow& main_;
};

}  // namespace

void followCaptionEvents(MainWindow& main) {
  main.Timer5->setRunsOnce(true);
  new WindowStateWatch(main);
  // The minimised caption shows the clock: it changes with the counters, in
  // the same wake-up as the clock's tick.
  QObject::connect(&main.clock(), &ClockModel::countersChanged, &main, [&main] {
    if ((main.windowState() & Qt::WindowMinimized) && isCurrent(main)) {
      main.refreshCaptions();
      flushWindowSystem();
    }
  });
  main.runtime().watchVisibility(&main, [&main](Form& form) {
    const QString name = form.formName();
    if ((name == QLatin1String(ButtonBar::kName) || name == QLatin1String(OptionsWindow::kName)) &&
        isCurrent(main)) {
      main.Timer5->arm();
    }
  });
}

}  // namespace tempodial

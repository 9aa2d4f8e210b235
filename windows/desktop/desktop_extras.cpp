#include "windows/desktop_extras.h"

#include <QAction>

#include "platform/runtime.h"
#include "platform/status_icon.h"
#include "windows/automatic_timing.h"
#include "windows/automatic_timing_window.h"
#include "windows/main_window.h"
#include "windows/status_area.h"

namespace tempodial {

void attachDesktopExtras(MainWindow& main) {
  if (StatusIcon::available()) new StatusArea(main);
  new AutomaticTiming(main);
}

void clockStartedOrStopped(MainWindow& main) {
  if (auto* area = main.findChild<StatusArea*>(QString(), Qt::FindDirectChildrenOnly)) {
    area->refresh();
  }
}

void openAutomaticTiming(Runtime& runtime) {
  auto& window = runtime.form<AutomaticTimingWindow>();
  window.show();
  window.raise();
  window.activateWindow();
}

}  // namespace tempodial

#include "windows/desktop/desktop_extras.h"

#include <QAction>
#include <QMenu>

#include "platform/desktop/autostart.h"

#include "platform/desktop/status_area_watch.h"
#include "platform/desktop/status_icon.h"
#include "platform/runtime/runtime.h"
#include "windows/desktop/automatic_timing.h"
#include "windows/desktop/automatic_timing_window.h"
#include "windows/desktop/status_area.h"
#include "windows/main/main_window.h"

namespace tempodial {

namespace {

bool startedAtLogin = false;

// The icon now where the desktop has a status area; else as soon as one
// appears (a panel that starts after the program, as at login).
void showStatusIconWhenPossible(MainWindow& main) {
  if (StatusIcon::available()) {
    new StatusArea(main);
    return;
  }
  auto* watch = new StatusAreaWatch(&main);
  QObject::connect(watch, &StatusAreaWatch::appeared, &main, [&main, watch] {
    watch->deleteLater();
    new StatusArea(main);
  });
}

}  // namespace

void attachDesktopExtras(MainWindow& main) {
  showStatusIconWhenPossible(main);
  new AutomaticTiming(main);
}

void clockStartedOrStopped(MainWindow& main) {
  if (auto* area = main.findChild<StatusArea*>(QString(), Qt::FindDirectChildrenOnly)) {
    area->refresh();
  }
}

void setStartedAtLogin(bool atLogin) { startedAtLogin = atLogin; }

bool waitsBehindStatusIcon(MainWindow& main) {
  return startedAtLogin &&
         main.findChild<StatusArea*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
}

void followStartAtLogin(MainWindow& main, QMenu* menu, QAction* item) {
  item->setCheckable(true);
  item->setChecked(startsAtLogin());
  QObject::connect(menu, &QMenu::aboutToShow, item, [item] { item->setChecked(startsAtLogin()); });
  QObject::connect(item, &QAction::triggered, item, [&main, item](bool on) {
    const Status status = setStartAtLogin(on);
    if (status.ok()) return;
    item->setChecked(startsAtLogin());
    main.runtime().message(QStringLiteral("Could not %1 %2: %3")
                               .arg(on ? QStringLiteral("write") : QStringLiteral("remove"),
                                    autostartPath(), QString::fromStdString(status.reason())));
  });
}

void openAutomaticTiming(Runtime& runtime) { runtime.form<AutomaticTimingWindow>().bringToFront(); }

}  // namespace tempodial

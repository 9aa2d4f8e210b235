#include "windows/desktop/desktop_extras.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include "platform/desktop/autostart.h"
#include "platform/desktop/status_area_watch.h"
#include "platform/desktop/status_icon.h"
#include "platform/forms/form.h"
#include "platform/runtime/runtime.h"
#include "platform/session/automatic_timing.h"
#include "windows/desktop/automatic_timing_window.h"
#include "windows/desktop/status_area.h"

namespace tempodial {

namespace {

bool startedAtLogin = false;
QPointer<AutomaticTiming> attachedTiming;

// The icon now where the desktop has a status area; else as soon as one
// appears (a panel that starts after the program, as at login).
void showStatusIconWhenPossible(Form& main, std::function<void()> openExitOptions) {
  if (StatusIcon::available()) {
    new StatusArea(main, std::move(openExitOptions));
    return;
  }
  auto* watch = new StatusAreaWatch(&main);
  QObject::connect(watch, &StatusAreaWatch::appeared, &main,
                   [&main, watch, openExitOptions = std::move(openExitOptions)] {
                     watch->deleteLater();
                     new StatusArea(main, openExitOptions);
                   });
}

}  // namespace

void attachDesktopExtras(Form& main, std::function<void()> openExitOptions) {
  showStatusIconWhenPossible(main, std::move(openExitOptions));
  attachedTiming = new AutomaticTiming(main.runtime(), &main);
}

AutomaticTiming* automaticTiming() { return attachedTiming; }

void setStartedAtLogin(bool atLogin) { startedAtLogin = atLogin; }

bool waitsBehindStatusIcon(const Form& main) {
  return startedAtLogin &&
         main.findChild<StatusArea*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
}

void followStartAtLogin(Runtime& runtime, QMenu* menu, QAction* item) {
  item->setCheckable(true);
  item->setChecked(startsAtLogin());
  QObject::connect(menu, &QMenu::aboutToShow, item, [item] { item->setChecked(startsAtLogin()); });
  QObject::connect(item, &QAction::triggered, item, [&runtime, item](bool on) {
    const Status status = setStartAtLogin(on);
    if (status.ok()) return;
    item->setChecked(startsAtLogin());
    runtime.message(QStringLiteral("Could not %1 %2: %3")
                        .arg(on ? QStringLiteral("write") : QStringLiteral("remove"),
                             autostartPath(), QString::fromStdString(status.reason())));
  });
}

void openAutomaticTiming(Runtime& runtime) { runtime.form<AutomaticTimingWindow>().bringToFront(); }

}  // namespace tempodial

#include "windows/desktop/desktop_extras.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include "platform/clock/clock_model.h"
#include "platform/desktop/autostart.h"
#include "platform/desktop/status_area_watch.h"
#include "platform/desktop/status_icon.h"
#include "platform/runtime/runtime.h"
#include "platform/session/automatic_timing.h"
#include "windows/desktop/automatic_timing_window.h"
#include "windows/desktop/status_area.h"

namespace tempodial {

namespace {

bool atLogin = false;
QPointer<AutomaticTiming> attachedTiming;

// The icon now where the desktop has a status area; else as soon as one
// appears (a panel that starts after the program, as at login).
void showStatusIconWhenPossible(Runtime& runtime, ClockModel& clock,
                                std::function<void()> openExitOptions) {
  if (StatusIcon::available()) {
    new StatusArea(runtime, clock, std::move(openExitOptions));
    return;
  }
  auto* watch = new StatusAreaWatch(&clock);
  QObject::connect(watch, &StatusAreaWatch::appeared, &clock,
                   [&runtime, &clock, watch, openExitOptions = std::move(openExitOptions)] {
                     watch->deleteLater();
                     new StatusArea(runtime, clock, openExitOptions);
                   });
}

}  // namespace

void attachDesktopExtras(Runtime& runtime, ClockModel& clock,
                         std::function<void()> openExitOptions) {
  showStatusIconWhenPossible(runtime, clock, std::move(openExitOptions));
  attachedTiming = new AutomaticTiming(runtime, clock, &clock);
}

AutomaticTiming* automaticTiming() { return attachedTiming; }

void setStartedAtLogin(bool login) { atLogin = login; }

bool startedAtLogin() { return atLogin; }

bool waitsBehindStatusIcon(const ClockModel& clock) {
  return atLogin && clock.findChild<StatusArea*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
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

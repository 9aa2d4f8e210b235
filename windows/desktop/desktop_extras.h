// What the program adds to the desktop beside its classic windows: the icon
// in the status area and the timing that follows the network connection.
// The main window calls these hooks and hands in what they may ask of it;
// everything else lives here.
#pragma once

#include <functional>

class QAction;
class QMenu;

namespace tempodial {

class AutomaticTiming;
class ClockModel;
class Runtime;

// At the clock session's start-up: the status icon of `clock` (where the
// desktop has a status area, or as soon as one appears) and the stored
// automatic timing, both living as long as the clock. `openExitOptions` is
// the program's way out, offered by the icon's menu.
void attachDesktopExtras(Runtime& runtime, ClockModel& clock,
                         std::function<void()> openExitOptions);

// Makes `item` of `menu` the check item that starts the program at login:
// checked while the desktop's autostart entry is there (looked at whenever
// the menu opens), and writing or removing the entry when chosen.
void followStartAtLogin(Runtime& runtime, QMenu* menu, QAction* item);

// Started by the desktop at login (the autostart entry's --login): the clock
// then runs behind the status icon, where there is one, and the main window
// is not built until the user asks for it.
void setStartedAtLogin(bool atLogin);
bool startedAtLogin();
bool waitsBehindStatusIcon(const ClockModel& clock);

// The automatic timing attached at the session's start-up; nothing before.
AutomaticTiming* automaticTiming();

// Shows the "Automatic timing" window.
void openAutomaticTiming(Runtime& runtime);

}  // namespace tempodial

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
class Form;
class Runtime;

// At the end of the main window's load: the status icon (where the desktop
// has a status area, or as soon as one appears) and the stored automatic
// timing. `openExitOptions` is the main window's way out, offered by the
// icon's menu.
void attachDesktopExtras(Form& main, std::function<void()> openExitOptions);

// Makes `item` of `menu` the check item that starts the program at login:
// checked while the desktop's autostart entry is there (looked at whenever
// the menu opens), and writing or removing the entry when chosen.
void followStartAtLogin(Runtime& runtime, QMenu* menu, QAction* item);

// Started by the desktop at login (the autostart entry's --login): the main
// window then waits behind the status icon, where there is one, instead of
// showing.
void setStartedAtLogin(bool atLogin);
bool waitsBehindStatusIcon(const Form& main);

// The automatic timing attached to the main window; nothing before.
AutomaticTiming* automaticTiming();

// Shows the "Automatic timing" window.
void openAutomaticTiming(Runtime& runtime);

}  // namespace tempodial

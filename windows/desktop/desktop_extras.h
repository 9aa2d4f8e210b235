// What the program adds to the desktop beside its classic windows: the icon
// in the status area and the timing that follows the network connection.
// The main window calls these two hooks; everything else lives here.
#pragma once

class QAction;
class QMenu;

namespace tempodial {

class MainWindow;
class Runtime;

// At the end of the main window's load: the status icon (where the desktop
// has a status area, or as soon as one appears), the "&Automatic timing..." menu item, and the
// stored automatic timing.
void attachDesktopExtras(MainWindow& main);

// After every start or stop of the clock, by hand or automatic.
void clockStartedOrStopped(MainWindow& main);

// Makes `item` of `menu` the check item that starts the program at login:
// checked while the desktop's autostart entry is there (looked at whenever
// the menu opens), and writing or removing the entry when chosen.
void followStartAtLogin(MainWindow& main, QMenu* menu, QAction* item);

// Started by the desktop at login (the autostart entry's --login): the main
// window then waits behind the status icon, where there is one, instead of
// showing.
void setStartedAtLogin(bool atLogin);
bool waitsBehindStatusIcon(MainWindow& main);

// Shows the "Automatic timing" window.
void openAutomaticTiming(Runtime& runtime);

}  // namespace tempodial

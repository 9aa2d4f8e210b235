// What keeps the main window's captions up to date without polling: its title
// follows minimising and restoring at once, and while it is minimised it
// follows the clock's boxes as they change; the captions of "Show buttonbar"
// and "Show options" follow the button bar and the Options window through the
// main window's Timer5, which ticks once, 400 ms after one of them has been
// shown or hidden.
#pragma once

namespace tempodial {

class MainWindow;

// Connects the events above to `main`; makes its Timer5 run once per arming.
void followCaptionEvents(MainWindow& main);

}  // namespace tempodial

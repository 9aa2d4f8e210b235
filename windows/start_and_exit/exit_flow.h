// The steps the two exit windows share: the time on the clock, and closing
// every window on the way out.
#pragma once

namespace tempodial {

class Runtime;

// The way out without a further question: hides the button bar, unloads every
// other window (the main window among them), then ends the program. The bar
// is never unloaded here, so its close question is never asked.
void closeAllWindowsAndEnd(Runtime& runtime);

// Hides the short-time question, then the exit options, so that the user is
// back at the main window with the time still on the clock: the "no exit"
// choice, and the way back after a save on the way out has failed (and been
// reported).
void returnToMainWindow(Runtime& runtime);

}  // namespace tempodial

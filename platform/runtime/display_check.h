// Start-up without a display: the program says so in one line on standard
// error and ends with status 1, instead of Qt's abort and core dump.
#pragma once

namespace tempodial {

// Call before the application object is made. Ends the program with
// "tempodial: cannot open a display" and status 1 when the window system
// chosen (the -platform option, QT_QPA_PLATFORM, or the default xcb) needs a
// display and neither DISPLAY nor WAYLAND_DISPLAY is set; and arranges the
// same ending for a display that is set but cannot be opened.
void exitUnlessDisplayCanOpen(int argc, char* argv[]);

}  // namespace tempodial

// The one start of the modes that run without a display: the verbs that
// drive a running copy, the history export and the quote. Qt's SQL driver,
// the export's target and the session bus want an application object; these
// modes get a core application, never a window system's.
#pragma once

#include "platform/command_line/command_line.h"

namespace tempodial {

// Runs the control, export or quote mode `line` asks for inside a core
// application (made here when there is none); returns the mode's exit
// status. Any other mode is a caller's mistake: status 1.
int runWithoutDisplay(const CommandLine& line);

}  // namespace tempodial

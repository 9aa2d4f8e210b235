// The command line's history export, run without a display:
//   tempodial --export-history FILE|- [--from YYYY-MM-DD] [--to YYYY-MM-DD]
// It reads the session journal without changing or creating it, so it can
// run beside a running copy of the program.
#pragma once

#include "platform/runtime/command_line.h"

namespace tempodial {

// Runs the export; returns the exit status: 0 when the CSV was written, 1
// with a message on standard error otherwise.
int exportHistory(const ExportRequest& request);

}  // namespace tempodial

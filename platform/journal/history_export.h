// The command line's history export, run without a display:
//   tempodial --export-history FILE|- [--from YYYY-MM-DD] [--to YYYY-MM-DD]
// It reads the session journal without changing or creating it, so it can
// run beside a running copy of the program.
#pragma once

namespace tempodial {

// Whether the command line asks for the history export.
bool asksForHistoryExport(int argc, char* argv[]);

// Runs the export; returns the exit status: 0 when the CSV was written, 1
// with a message on standard error otherwise.
int exportHistory(int argc, char* argv[]);

}  // namespace tempodial

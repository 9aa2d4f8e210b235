// The command line's quote, run without a display:
//   tempodial --quote START DURATION [--plan NAME] [--data MB]
// START is a local time (YYYY-MM-DDTHH:MM), DURATION h:mm:ss; the plan is the
// named one or the plan in use; MB is the run's data volume, charged at the
// plan's rate per MB.
#pragma once

namespace tempodial {

// Whether the command line asks for a quote.
bool asksForQuote(int argc, char* argv[]);

// Prints the quote; returns 0, or 1 with a message on standard error.
int printQuote(int argc, char* argv[]);

}  // namespace tempodial

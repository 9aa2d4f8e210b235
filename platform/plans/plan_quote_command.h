// The command line's quote, run without a display:
//   tempodial --quote START DURATION [--plan NAME] [--data MB]
// START is a local time (YYYY-MM-DDTHH:MM[:SS]), with its UTC offset
// (+01:00, Z) where the clocks going back make it occur twice; DURATION is
// h:mm:ss; the plan is the named one or the plan in use; MB is the run's
// data volume, charged at the plan's rate per MB.
#pragma once

#include <cstdio>

#include "platform/runtime/command_line.h"

namespace tempodial {

// Prints the quote to `out`; returns 0, or 1 with the reason on `err` (also
// when `out` cannot be written: a full disk, a closed pipe).
int printQuote(const QuoteRequest& request, std::FILE* out, std::FILE* err);

}  // namespace tempodial

// The command line's quote, run without a display:
//   tempodial --quote START DURATION [--plan NAME] [--data MB]
// START is a local time (YYYY-MM-DDTHH:MM[:SS]), with its UTC offset
// (+01:00, Z) where the clocks going back make it occur twice; DURATION is
// h:mm:ss; the plan is the named one or the plan in use; MB is the run's
// data volume, charged at the plan's rate per MB.
#pragma once

#include <QString>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace tempodial {

// --quote START DURATION [--plan NAME] [--data MB] [--used MB]: START and
// DURATION as typed, read by the quote itself against the local time zone.
struct QuoteRequest {
  QString start, duration, plan;
  std::int64_t dataBytes = 0;
  // The bytes of the billing month taken as used before the run; none: what
  // the journal holds.
  std::optional<std::int64_t> usedBytes;
};

// Prints the quote to `out`; returns 0, or 1 with the reason on `err` (also
// when `out` cannot be written: a full disk, a closed pipe). Wants a core
// application for reading the journal (the command line's display-less
// start makes it).
int printQuote(const QuoteRequest& request, std::FILE* out, std::FILE* err);

}  // namespace tempodial

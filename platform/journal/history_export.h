// The command line's history export, run without a display:
//   tempodial --export-history FILE|- [--from YYYY-MM-DD] [--to YYYY-MM-DD]
// It reads the session journal without changing or creating it, so it can
// run beside a running copy of the program.
#pragma once

#include <QString>
#include <optional>

#include "core/history/history.h"

namespace tempodial {

// --export-history FILE|- [--from YYYY-MM-DD] [--to YYYY-MM-DD]
struct ExportRequest {
  QString file;
  std::optional<CivilDate> from, to;
};

// Runs the export; returns the exit status: 0 when the CSV was written, 1
// with a message on standard error otherwise. Wants a core application (the
// command line's display-less start makes it).
int exportHistory(const ExportRequest& request);

}  // namespace tempodial

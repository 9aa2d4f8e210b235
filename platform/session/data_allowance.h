// The data allowance of the plan in use, and what the recorded sessions of
// the billing month have used of it, handed to the clock model for the
// windows to show. Read when the clock stops, when the plan in use or the
// billing day changes, and while the clock runs by the limit warnings at the
// run's first second: never at every second.
#pragma once

#include <QtGlobal>
#include <cstdint>
#include <optional>

#include "core/history/history.h"

namespace tempodial {

class ClockModel;
class Runtime;

// The allowance in bytes of the plan in use; none when no plan is in use,
// the plan cannot be read or it has no allowance.
std::optional<std::int64_t> allowanceInUse();

// Reads what the recorded sessions of the billing month holding `day` used,
// leaving out the session `except`, and gives the clock the allowance of
// `bytes` with it (or none when `bytes` is none). Opens the journal only for
// an allowance.
void showAllowance(Runtime& runtime, ClockModel& clock, std::optional<std::int64_t> bytes,
                   const CivilDate& day, qint64 except);

// The plan in use's allowance as of today, for a clock that is not running
// (a running run is told by the limit warnings, which leave it out).
void refreshAllowance(Runtime& runtime, ClockModel& clock);

}  // namespace tempodial

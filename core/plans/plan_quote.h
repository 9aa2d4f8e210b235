// The quote: what a run of a given start and length would cost under a plan,
// as text, the total first, then one line per rate period, the data
// volume's charge where a volume is given (of what lies beyond the plan's
// allowance), the allowance and the month's use before the run, the
// connection charge and the minimum:
//   £0.44  Evening and weekend, 1:00:00 from Mon 7 Dec 17:50
//     17:50-18:00      10 min at 1.4p      £0.14
//     18:00-18:50      50 min at 0.5p      £0.25
//     connection                           £0.05
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/plans/plan_run.h"

namespace tempodial::plans {

// A length written h:mm:ss ("1:00:00", "0:01:01"), under 1000 hours, in
// seconds: what durationText (core/history/history.h) writes.
std::optional<std::int64_t> parseDuration(std::string_view text);

// The quote of `run`, counted to the run's length already.
std::string quoteText(const PlanRun& run);

}  // namespace tempodial::plans

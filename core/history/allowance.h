// A plan's data allowance over the billing month as people read it: what is
// left and when it starts again, and the warnings at 80 % and 100 % of it.
#pragma once

#include <cstdint>
#include <string>

#include "core/history/history.h"

namespace tempodial {

// A size as an allowance is spoken of: "20 GB", "1.5 GB", "500 MB" (sizes
// as they are written, without a tenth of 0).
std::string allowanceSizeText(std::int64_t bytes);

// "12.3 of 20 GB left until 15 Jan": what is left of `allowance` bytes after
// `used` and the day the allowance starts again; what is left is written in
// the allowance's unit while it is one or more of it, else in its own ("350
// MB of 20 GB left until 15 Jan"). Nothing left: "0 of 20 GB left ...".
std::string allowanceLeftText(std::int64_t used, std::int64_t allowance, const CivilDate& resets);

// "80 % of this month's data allowance used".
std::string allowanceWarningText(int percent);

}  // namespace tempodial

// The cost box under a plan: the amount the box held when the clock started,
// read as the classic meter reads it, plus the run's charge, added exactly in
// decimal and written in the box's usual form (0.44, 2, 0.014).
#pragma once

#include <string>
#include <string_view>

#include "core/plans/plan.h"

namespace tempodial::plans {

// `costText`'s leading number plus `charge` (millionths of the unit).
std::string costPlus(std::string_view costText, Amount charge);

}  // namespace tempodial::plans

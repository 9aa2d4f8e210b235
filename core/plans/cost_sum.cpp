#include "core/plans/cost_sum.h"

#include "core/money/exact_cost.h"

namespace tempodial::plans {

std::string costPlus(std::string_view costText, Amount charge) {
  return costPlusMicros(costText, charge);
}

}  // namespace tempodial::plans

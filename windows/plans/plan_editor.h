// The Tariff plans window's editor: a plan shown in its fields and rule
// table, and the plan read back from them, checked as a plan file is.
#pragma once

#include <QString>
#include <optional>

#include "core/plans/plan.h"
#include "core/values/status.h"

namespace tempodial {

class PlansWindow;

void showPlanInEditor(PlansWindow& window, const plans::Plan& plan);

// The plan the fields describe, or (Invalid) which field of which rule is
// wrong and why.
Result<plans::Plan> planFromEditor(PlansWindow& window);

}  // namespace tempodial

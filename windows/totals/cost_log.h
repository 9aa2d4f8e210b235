// The CostLog: the cost so far saved to and loaded from cost.tme. The buttons
// beside the cost box use the data directory, the menu items the Windows
// directory, each with its own failure message.
#pragma once

namespace tempodial {

class ClockModel;
class Runtime;

// "S&ave Cost Log" (data directory) and "&Save current log" (Windows directory).
void saveCostLogButton(Runtime& runtime, ClockModel& clock);
void saveCostLogMenu(Runtime& runtime, ClockModel& clock);

// "L&oad Cost Log" (data directory) and "&Load Previous" (Windows directory).
void loadCostLogButton(Runtime& runtime, ClockModel& clock);
void loadCostLogMenu(Runtime& runtime, ClockModel& clock);

}  // namespace tempodial

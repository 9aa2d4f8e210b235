// The CostLog: the cost box saved to and loaded from cost.tme. The buttons
// beside the cost box use the data directory, the menu items the Windows
// directory, each with its own failure message.
#pragma once

namespace tempodial {

class MainWindow;

// "S&ave Cost Log" (data directory) and "&Save current log" (Windows directory).
void saveCostLogButton(MainWindow& main);
void saveCostLogMenu(MainWindow& main);
// "L&oad Cost Log" (data directory) and "&Load Previous" (Windows directory).
void loadCostLogButton(MainWindow& main);
void loadCostLogMenu(MainWindow& main);

}  // namespace tempodial

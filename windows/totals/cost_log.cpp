#include "windows/cost_log.h"

#include "platform/controls.h"
#include "platform/runtime.h"
#include "windows/box_files.h"
#include "windows/main_window.h"

namespace tempodial {
namespace {

void saveCostLog(MainWindow& main, Place place) {
  if (saveBox(main.runtime(), place, files::kCost, *main.cost, kCostBoxFont)) {
    main.setStatus(QStringLiteral("Cost has been saved"));
  }
}

bool loadCostLog(MainWindow& main, Place place) {
  if (!loadBox(main.runtime(), place, files::kCost, *main.cost).ok()) return false;
  main.setStatus(QStringLiteral("Cost has been loaded"));
  return true;
}

}  // namespace

void saveCostLogButton(MainWindow& main) { saveCostLog(main, Place::Data); }
void saveCostLogMenu(MainWindow& main) { saveCostLog(main, Place::Windows); }

void loadCostLogButton(MainWindow& main) {
  if (!loadCostLog(main, Place::Data)) {
    main.runtime().message(QStringLiteral("No such file, or other error"));
  }
}

void loadCostLogMenu(MainWindow& main) {
  if (!loadCostLog(main, Place::Windows)) {
    main.runtime().message(QStringLiteral("There was an error on loading, so aborted"));
    main.setStatus(QStringLiteral("Cost couldn't be loaded"));
  }
}

}  // namespace tempodial

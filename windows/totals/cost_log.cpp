#include "windows/totals/cost_log.h"

#include "platform/forms/controls.h"
#include "platform/runtime/runtime.h"
#include "windows/main/main_window.h"
#include "windows/totals/box_files.h"

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

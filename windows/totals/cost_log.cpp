#include "windows/totals/cost_log.h"

#include "platform/clock/clock_model.h"
#include "platform/runtime/runtime.h"
#include "windows/totals/box_files.h"

namespace tempodial {
namespace {

void saveCostLog(Runtime& runtime, Place place) {
  ClockModel& clock = runtime.clock();
  if (saveText(runtime, place, files::kCost, clock.cost(), kCostBoxFont)) {
    clock.say(QStringLiteral("Cost has been saved"));
  }
}

bool loadCostLog(Runtime& runtime, Place place) {
  ClockModel& clock = runtime.clock();
  const Status loaded = loadText(runtime, place, files::kCost,
                                 [&clock](const QString& text) { clock.setCost(text); });
  if (!loaded.ok()) return false;
  clock.say(QStringLiteral("Cost has been loaded"));
  return true;
}

}  // namespace

void saveCostLogButton(Runtime& runtime) { saveCostLog(runtime, Place::Data); }
void saveCostLogMenu(Runtime& runtime) { saveCostLog(runtime, Place::Windows); }

void loadCostLogButton(Runtime& runtime) {
  if (!loadCostLog(runtime, Place::Data)) {
    runtime.message(QStringLiteral("No such file, or other error"));
  }
}

void loadCostLogMenu(Runtime& runtime) {
  if (!loadCostLog(runtime, Place::Windows)) {
    runtime.message(QStringLiteral("There was an error on loading, so aborted"));
    runtime.clock().say(QStringLiteral("Cost couldn't be loaded"));
  }
}

}  // namespace tempodial

#include "windows/totals/cost_log.h"

#include "platform/clock/clock_model.h"
#include "platform/runtime/runtime.h"
#include "windows/totals/box_files.h"

namespace tempodial {
namespace {

void saveCostLog(Runtime& runtime, ClockModel& clock, Place place) {
  if (saveText(runtime, place, files::kCost, clock.cost(), kCostBoxFont)) {
    clock.say(QStringLiteral("Cost has been saved"));
  }
}

bool loadCostLog(Runtime& runtime, ClockModel& clock, Place place) {
  const Status loaded = loadText(runtime, place, files::kCost,
                                 [&clock](const QString& text) { clock.setCost(text); });
  if (!loaded.ok()) return false;
  clock.say(QStringLiteral("Cost has been loaded"));
  return true;
}

}  // namespace

void saveCostLogButton(Runtime& runtime, ClockModel& clock) {
  saveCostLog(runtime, clock, Place::Data);
}
void saveCostLogMenu(Runtime& runtime, ClockModel& clock) {
  saveCostLog(runtime, clock, Place::Windows);
}

void loadCostLogButton(Runtime& runtime, ClockModel& clock) {
  if (!loadCostLog(runtime, clock, Place::Data)) {
    runtime.message(QStringLiteral("No such file, or other error"));
  }
}

void loadCostLogMenu(Runtime& runtime, ClockModel& clock) {
  if (!loadCostLog(runtime, clock, Place::Windows)) {
    runtime.message(QStringLiteral("There was an error on loading, so aborted"));
    clock.say(QStringLiteral("Cost couldn't be loaded"));
  }
}

}  // namespace tempodial

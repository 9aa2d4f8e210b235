#include "windows/totals/time_log.h"

#include "platform/clock/clock_model.h"
#include "platform/runtime/runtime.h"
#include "windows/totals/box_files.h"

namespace tempodial {
namespace {

// The text of a blank TimeLog's files, as the option files hold it.
const QString kBlank = QStringLiteral("0");

TextTarget counterTarget(ClockModel& clock, clock::Counter counter) {
  return [&clock, counter](const QString& text) { clock.setCounter(counter, text); };
}

}  // namespace

bool saveTimeLog(Runtime& runtime, const ClockModel& clock, Place place) {
  return saveBoxesTogether(runtime, place,
                           {{files::kSeconds, clock.seconds(), kClockBoxFont},
                            {files::kMinutes, clock.minutes(), kClockBoxFont},
                            {files::kHours, clock.hours(), kClockBoxFont}});
}

void loadTimeLog(Runtime& runtime, ClockModel& clock, Place place) {
  loadTextIfPresent(runtime, place, files::kSeconds, counterTarget(clock, clock::Counter::Seconds));
  loadTextIfPresent(runtime, place, files::kMinutes, counterTarget(clock, clock::Counter::Minutes));
  loadTextIfPresent(runtime, place, files::kHours, counterTarget(clock, clock::Counter::Hours));
}

bool blankTimeLog(Runtime& runtime) {
  return saveBoxesTogether(runtime, Place::Windows,
                           {{files::kSeconds, kBlank, kClockBoxFont},
                            {files::kMinutes, kBlank, kClockBoxFont},
                            {files::kHours, kBlank, kClockBoxFont}});
}

bool saveTotals(Runtime& runtime, const ClockModel& clock) {
  return saveTimeLog(runtime, clock, Place::Data) &&
         saveText(runtime, Place::Data, files::kCost, clock.cost(), kCostBoxFont);
}

}  // namespace tempodial

#include "windows/start_and_exit/session_start.h"

#include "core/files/file_places.h"
#include "platform/clock/clock_model.h"
#include "platform/clock/plan_meter.h"
#include "platform/runtime/runtime.h"
#include "platform/session/clock_session.h"
#include "windows/cost/options_window.h"
#include "windows/desktop/desktop_extras.h"
#include "windows/start_and_exit/exit_window.h"
#include "windows/totals/box_files.h"

namespace tempodial {

void startSession(Runtime& runtime, ClockSession& session) {
  if (!session.beginStartUp()) return;
  ClockModel& clock = session.clock();
  runtime.form<OptionsWindow>().restoreTariffsAndCurrency();
  clock.planMeter().reload();
  clock.setCostShownAtStartUp(fileInPlace(runtime, Place::Data, files::kShowCost));
  attachDesktopExtras(runtime, clock,
                      [&runtime] { runtime.showModal(runtime.form<ExitWindow>()); });
}

}  // namespace tempodial

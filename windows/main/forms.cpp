#include "windows/main/forms.h"

#include <type_traits>

#include "platform/runtime/runtime.h"
#include "platform/session/clock_session.h"
#include "windows/cost/options_window.h"
#include "windows/desktop/automatic_timing_window.h"
#include "windows/help/about_window.h"
#include "windows/help/help_window.h"
#include "windows/history/history_window.h"
#include "windows/journal/restore_window.h"
#include "windows/main/main_window.h"
#include "windows/main/password_window.h"
#include "windows/plans/plans_window.h"
#include "windows/programs/button_bar.h"
#include "windows/programs/button_bar_question.h"
#include "windows/programs/locations_window.h"
#include "windows/start_and_exit/exit_window.h"
#include "windows/start_and_exit/short_time_exit_window.h"
#include "windows/start_and_exit/splash_window.h"
#include "windows/totals/reset_window.h"

namespace tempodial {
namespace {

// Each window is handed what it shows: the clock session, its clock, or
// nothing beyond the runtime.
template <typename W>
void add(Runtime& runtime, ClockSession& session) {
  runtime.registerForm(QString::fromLatin1(W::kName), W::kIndex, [&session](Runtime& rt) -> Form* {
    if constexpr (std::is_constructible_v<W, Runtime&, ClockSession&>) {
      return new W(rt, session);
    } else if constexpr (std::is_constructible_v<W, Runtime&, ClockModel&>) {
      return new W(rt, session.clock());
    } else {
      return new W(rt);
    }
  });
}

}  // namespace

void registerForms(Runtime& runtime, ClockSession& session) {
  add<SplashWindow>(runtime, session);
  add<MainWindow>(runtime, session);
  add<LocationsWindow>(runtime, session);
  add<ResetWindow>(runtime, session);
  add<HelpWindow>(runtime, session);
  add<ExitWindow>(runtime, session);
  add<PasswordWindow>(runtime, session);
  add<ButtonBar>(runtime, session);
  add<OptionsWindow>(runtime, session);
  add<AboutWindow>(runtime, session);
  add<ShortTimeExitWindow>(runtime, session);
  add<ButtonBarQuestion>(runtime, session);
  add<RestoreWindow>(runtime, session);
  add<HistoryWindow>(runtime, session);
  add<AutomaticTimingWindow>(runtime, session);
  add<PlansWindow>(runtime, session);
}

}  // namespace tempodial

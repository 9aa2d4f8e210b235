#include "windows/main/forms.h"

#include "platform/runtime/runtime.h"
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

template <typename W>
void add(Runtime& runtime) {
  runtime.registerForm(QString::fromLatin1(W::kName), W::kIndex,
                       [](Runtime& rt) -> Form* { return new W(rt); });
}

}  // namespace

void registerForms(Runtime& runtime) {
  add<SplashWindow>(runtime);
  add<MainWindow>(runtime);
  add<LocationsWindow>(runtime);
  add<ResetWindow>(runtime);
  add<HelpWindow>(runtime);
  add<ExitWindow>(runtime);
  add<PasswordWindow>(runtime);
  add<ButtonBar>(runtime);
  add<OptionsWindow>(runtime);
  add<AboutWindow>(runtime);
  add<ShortTimeExitWindow>(runtime);
  add<ButtonBarQuestion>(runtime);
  add<RestoreWindow>(runtime);
  add<HistoryWindow>(runtime);
  add<AutomaticTimingWindow>(runtime);
  add<PlansWindow>(runtime);
}

}  // namespace tempodial

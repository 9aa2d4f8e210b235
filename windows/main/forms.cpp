#include "windows/forms.h"

#include "platform/runtime.h"
#include "windows/about_window.h"
#include "windows/automatic_timing_window.h"
#include "windows/button_bar.h"
#include "windows/button_bar_question.h"
#include "windows/exit_window.h"
#include "windows/help_window.h"
#include "windows/history_window.h"
#include "windows/locations_window.h"
#include "windows/main_window.h"
#include "windows/options_window.h"
#include "windows/password_window.h"
#include "windows/reset_window.h"
#include "windows/restore_window.h"
#include "windows/short_time_exit_window.h"
#include "windows/splash_window.h"

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
}

}  // namespace tempodial

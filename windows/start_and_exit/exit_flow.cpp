#include "windows/start_and_exit/exit_flow.h"

#include "platform/forms/form.h"
#include "platform/runtime/runtime.h"
#include "windows/programs/button_bar.h"
#include "windows/start_and_exit/exit_window.h"
#include "windows/start_and_exit/short_time_exit_window.h"

namespace tempodial {
namespace {

void hideIfLoaded(Runtime& runtime, const char* name) {
  if (Form* form = runtime.loadedForm(QString::fromLatin1(name))) form->hide();
}

}  // namespace

void closeAllWindowsAndEnd(Runtime& runtime) {
  // The main window's unload hides the bar; the bar itself stays loaded so
  // that its own unload (the start-up question) never runs on the way out.
  const QString bar = QString::fromLatin1(ButtonBar::kName);
  hideIfLoaded(runtime, ButtonBar::kName);
  for (const QString& name : runtime.formNames()) {
    if (name != bar) runtime.unload(name);
  }
  runtime.endProgram();
}

void returnToMainWindow(Runtime& runtime) {
  hideIfLoaded(runtime, ShortTimeExitWindow::kName);
  hideIfLoaded(runtime, ExitWindow::kName);
}

}  // namespace tempodial

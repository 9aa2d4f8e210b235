#include "windows/start_and_exit/short_time_exit_window.h"

#include "platform/forms/controls.h"
#include "platform/forms/twips.h"
#include "platform/runtime/runtime.h"
#include "windows/programs/button_bar.h"
#include "windows/start_and_exit/exit_flow.h"
#include "windows/totals/time_log.h"

namespace tempodial {

ShortTimeExitWindow::ShortTimeExitWindow(Runtime& runtime, ClockModel& clock)
    : Form(runtime, QString::fromLatin1(kName), kIndex), clock_(clock) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle(QStringLiteral("Just a minute..."));
  // A sizeable window: the designed size is where it starts and the least it
  // can be made.
  setSizeTwips(4725, 1515);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  QWidget* area = client();

  Label1 = new Label(area, QStringLiteral("Label1"),
                     QStringLiteral("You have only spent 5 seconds or less of timer time. Are you "
                                    "sure that you want to overwrite the existing TimeLog and "
                                    "exit?"));
  Label1->setAccessibleName(Label1->text());
  Label1->setFont(arialFont(9.75));
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  placeTwips(Label1, 120, 45, 4395, 690);

  const QFont buttonFont = arialFont(8.25);
  Command3 = new Button(area, QStringLiteral("Command3"), QStringLiteral("No Save && No Exit"));
  Command2 = new Button(area, QStringLiteral("Command2"), QStringLiteral("No Save && Exit"));
  Command1 = new Button(area, QStringLiteral("Command1"), QStringLiteral("Save && Exit"));
  const int lefts[] = {60, 1590, 3120};
  Button* buttons[] = {Command3, Command2, Command1};
  for (int i = 0; i < 3; ++i) {
    buttons[i]->setFont(buttonFont);
    placeTwips(buttons[i], lefts[i], 780, 1455, 330);
  }

  setAccessibleDescription(Label1->text());

  setTabOrder(Command1, Command3);
  setTabOrder(Command3, Command2);
  Command1->setFocus();

  Command1->onClick = [this] { saveAndExit(); };
  Command2->onClick = [this] { closeAllWindowsAndEnd(this->runtime()); };
  Command3->onClick = [this] { returnToMainWindow(this->runtime()); };
}

void ShortTimeExitWindow::onLoad() {
  // Only the first showing hides the bar: later ones find this window loaded.
  if (Form* bar = runtime().loadedForm(QString::fromLatin1(ButtonBar::kName))) bar->hide();
}

void ShortTimeExitWindow::saveAndExit() {
  Runtime& rt = runtime();
  if (!saveTotals(rt, clock_)) {
    // The failure has been reported; ending now would lose the time.
    returnToMainWindow(rt);
    return;
  }
  rt.message(QStringLiteral("ok, will end the program"));
  closeAllWindowsAndEnd(rt);
}

}  // namespace tempodial

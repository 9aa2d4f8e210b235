#include "windows/start_and_exit/exit_window.h"

#include <QFrame>

#include "platform/clock/clock_model.h"
#include "platform/forms/controls.h"
#include "platform/forms/twips.h"
#include "platform/runtime/runtime.h"
#include "windows/start_and_exit/exit_flow.h"
#include "windows/start_and_exit/short_time_exit_window.h"
#include "windows/totals/time_log.h"

namespace tempodial {
namespace {

// Clock time at or below which the user is asked before the TimeLog is
// overwritten.
constexpr double kShortTimeSeconds = 5;

}  // namespace

ExitWindow::ExitWindow(Runtime& runtime, ClockModel& clock)
    : Form(runtime, QString::fromLatin1(kName), kIndex), clock_(clock) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle(QStringLiteral("Exit Options"));
  // Taller than the designed 1185 twips so that the notes under the buttons
  // are readable in today's fonts.
  setSizeTwips(2640, 1425);
  QWidget* area = client();
  const QFont small(QStringLiteral("Arial"), 8);

  Command1 = new Button(area, QStringLiteral("Command1"), QStringLiteral("Exit && Save"));
  placeTwips(Command1, 60, 45, 1140, 375);
  Label1 = new Label(area, QStringLiteral("Label1"), QStringLiteral("Every File possible saved"));
  Label1->setAccessibleName(Label1->text());
  Label1->setFont(small);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  placeTwips(Label1, 60, 480, 1140, 480);

  Line1 = new QFrame(area);
  Line1->setObjectName(QStringLiteral("Line1"));
  Line1->setFrameShape(QFrame::VLine);
  Line1->setFrameShadow(QFrame::Plain);
  placeTwips(Line1, 1245, 0, 60, 1035);

  Command2 = new Button(area, QStringLiteral("Command2"), QStringLiteral("Exit no save"));
  placeTwips(Command2, 1350, 45, 1140, 375);
  Label2 = new Label(area, QStringLiteral("Label2"), QStringLiteral("No saves at all"));
  Label2->setAccessibleName(Label2->text());
  Label2->setFont(small);
  Label2->setWordWrap(true);
  Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  placeTwips(Label2, 1350, 480, 1140, 480);

  // Each note tells what its button does. There is no way back from here:
  // Escape does nothing.
  Command1->setAccessibleDescription(Label1->text());
  Command2->setAccessibleDescription(Label2->text());
  setAccessibleDescription(QStringLiteral("%1: %2. %3: %4.")
                               .arg(withoutAccessKeys(Command1->text()), Label1->text(),
                                    withoutAccessKeys(Command2->text()), Label2->text()));

  setTabOrder(Command1, Command2);
  Command1->setFocus();

  Command1->onClick = [this] { exitAndSave(); };
  Command2->onClick = [this] { closeAllWindowsAndEnd(this->runtime()); };
}

void ExitWindow::exitAndSave() {
  Runtime& rt = runtime();
  if (clock_.totalSeconds() <= kShortTimeSeconds) {
    rt.showModal(rt.form<ShortTimeExitWindow>());
    return;
  }
  if (!saveTotals(rt, clock_)) {
    // The failure has been reported; ending now would lose the time.
    returnToMainWindow(rt);
    return;
  }
  rt.message(QStringLiteral("Ok, program now ends"));
  rt.endProgram();
}

}  // namespace tempodial

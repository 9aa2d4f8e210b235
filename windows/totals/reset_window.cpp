#include "windows/totals/reset_window.h"

#include <QLabel>

#include "platform/clock/clock_model.h"
#include "platform/forms/controls.h"
#include "platform/forms/twips.h"
#include "platform/runtime/runtime.h"
#include "windows/artwork/artwork.h"

namespace tempodial {

ResetWindow::ResetWindow(Runtime& runtime, ClockModel& clock)
    : Form(runtime, QString::fromLatin1(kName), kIndex), clock_(clock) {
  // No title text and no title-bar buttons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint);
  // One blank: the window system shows the program's name in an empty title.
  setWindowTitle(QStringLiteral(" "));
  // The title bar stays empty; assistive technology hears what is asked.
  const QString question = QStringLiteral("Reset the clock to 0:0:0?");
  setAccessibleName(question);
  setAccessibleDescription(
      QStringLiteral("00:00:00 sets the hours, minutes and seconds to 0; Aghh, no leaves the "
                     "clock as it is."));
  setSizeTwips(2700, 2520);
  picture = new QLabel(client());
  picture->setObjectName(QStringLiteral("picture"));
  picture->setPixmap(artIcon(Art::Reset).pixmap(64, 64));
  picture->setAlignment(Qt::AlignCenter);
  picture->setAccessibleName(question);
  placeTwips(picture, 120, 120, 2370, 960);
  // Where Arial Black is missing, the black weight makes the stand-in bold.
  QFont black(QStringLiteral("Arial Black"), 10, QFont::Black);
  Command1 = new Button(client(), QStringLiteral("Command1"), QStringLiteral("00:00:00"));
  Command1->setFont(black);
  placeTwips(Command1, 360, 1140, 1890, 435);
  Command2 = new Button(client(), QStringLiteral("Command2"), QStringLiteral("Aghh, no"));
  Command2->setFont(black);
  placeTwips(Command2, 360, 1620, 1890, 435);

  setCancelButton(Command2);

  Command1->onClick = [this] {
    Runtime& rt = this->runtime();
    rt.message(QStringLiteral("This will reset the time"));
    clock_.setCounter(clock::Counter::Seconds, QStringLiteral("0"));
    clock_.setCounter(clock::Counter::Minutes, QStringLiteral("0"));
    clock_.setCounter(clock::Counter::Hours, QStringLiteral("0"));
    clock_.say(QStringLiteral("Time will now be reset"));
    hide();
    rt.unload(formName());
  };
  Command2->onClick = [this] {
    hide();
    this->runtime().unload(formName());
  };
}

void ResetWindow::onLoad() { runtime().services().beep(); }

}  // namespace tempodial

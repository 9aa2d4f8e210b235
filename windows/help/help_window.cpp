#include "windows/help/help_window.h"

#include <QIcon>
#include <QStyle>
#include <algorithm>

#include "platform/forms/controls.h"
#include "platform/forms/twips.h"
#include "platform/runtime/runtime.h"

namespace tempodial {

HelpWindow::HelpWindow(Runtime& runtime) : Form(runtime, QString::fromLatin1(kName), kIndex) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle(QStringLiteral("Help and credits"));
  // Its own icon, apart from the main window's.
  setWindowIcon(QIcon::fromTheme(QStringLiteral("help-contents"),
                                 style()->standardIcon(QStyle::SP_MessageBoxInformation)));
  // A sizeable window that starts at, and cannot shrink below, its design.
  setSizeTwips(3480, 2865);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  setFont(arialFont(9.75));
  QWidget* area = client();

  Label1 = new Label(area, QStringLiteral("Label1"),
                     QStringLiteral("Tempodial is made by the Tempodial developers. Please do not "
                                    "distribute it under any other name. Distribution, or a "
                                    "rebuild made for you, may be possible after consulting the "
                                    "Tempodial developers. Thank you for using Tempodial."));
  Label1->setAccessibleName(Label1->text());
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  placeTwips(Label1, 60, 60, 3255, 1695);

  Label2 = new Label(area, QStringLiteral("Label2"),
                     QStringLiteral("For (further) help refer to the documentation that comes "
                                    "with the program."));
  Label2->setAccessibleName(Label2->text());
  Label2->setWordWrap(true);
  Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Command1 = new Button(area, QStringLiteral("Command1"), QStringLiteral("OK"));
  Command1->setFocus();
  setAccessibleDescription(Label1->text() + QLatin1Char(' ') + Label2->text());
  setCancelButton(Command1);

  // The designed size is the least; where the fonts need more room for the
  // second text, the window starts taller so that nothing is cut off.
  const int gap = twipsToPixels(60);
  const int textTop = twipsToPixels(1785);
  const int textWidth = twipsToPixels(3270);
  const int textHeight = std::max(twipsToPixels(420), Label2->heightForWidth(textWidth));
  Label2->setGeometry(twipsToPixels(60), textTop, textWidth, textHeight);
  const int buttonTop = std::max(twipsToPixels(2205), textTop + textHeight + gap);
  placeTwips(Command1, 1215, 0, 960, 270);
  Command1->move(Command1->x(), buttonTop);
  const int needed = buttonTop + Command1->height() + gap;
  if (needed > height()) {
    setFixedHeight(needed);
    setMaximumHeight(QWIDGETSIZE_MAX);
  }

  Command1->onClick = [this] {
    hide();
    this->runtime().unload(formName());
  };
}

}  // namespace tempodial

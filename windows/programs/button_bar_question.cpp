#include "windows/programs/button_bar_question.h"

#include "platform/forms/controls.h"
#include "platform/forms/twips.h"
#include "platform/runtime/runtime.h"
#include "windows/totals/box_files.h"

namespace tempodial {
namespace {

// The designed client area, inside a fixed border and a title bar.
constexpr int kClientWidthTwips = 4215;
constexpr int kClientHeightTwips = 1125;

}  // namespace

ButtonBarQuestion::ButtonBarQuestion(Runtime& runtime)
    : Form(runtime, QString::fromLatin1(kName), kIndex) {
  setWindowTitle(QStringLiteral("Buttonbar Question"));
  // A title but no title-bar buttons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setClientSizeTwips(kClientWidthTwips, kClientHeightTwips);

  QWidget* area = client();
  const QString question =
      QStringLiteral("Do you want the buttonbar to appear when you start up the program next ?");
  Label1 = new Label(area, QStringLiteral("Label1"), question);
  Label1->setAccessibleName(question);
  Label1->setFont(arialFont(9.75));
  Label1->setWordWrap(true);
  placeTwips(Label1, 120, 60, kClientWidthTwips - 240, 495);
  Command1 = new Button(area, QStringLiteral("Command1"), QStringLiteral("Yes"));
  placeTwips(Command1, 120, 660, 1215, 375);
  Command2 = new Button(area, QStringLiteral("Command2"), QStringLiteral("No"));
  placeTwips(Command2, kClientWidthTwips - 120 - 1215, 660, 1215, 375);
  setAccessibleDescription(question);
  setTabOrder(Command1, Command2);
  Command1->setFocus();

  Command1->onClick = [this] { answerYes(); };
  Command2->onClick = [this] { answerNo(); };
}

void ButtonBarQuestion::answerYes() { runtime().unload(formName()); }

void ButtonBarQuestion::answerNo() {
  Runtime& rt = runtime();
  if (!deleteInPlace(rt, Place::Data, files::kButtShow)) return;
  hide();
  rt.unload(formName());
}

}  // namespace tempodial

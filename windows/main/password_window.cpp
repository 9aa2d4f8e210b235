#include "windows/main/password_window.h"

#include "platform/forms/controls.h"
#include "platform/forms/password_box.h"
#include "platform/forms/twips.h"
#include "platform/runtime/runtime.h"
#include "windows/main/main_window.h"

namespace tempodial {
namespace {

// The password that unlocks the counter and cost boxes for the rest of the run.
const QString kPassword = QStringLiteral("marlin");

}  // namespace

PasswordWindow::PasswordWindow(Runtime& runtime)
    : Form(runtime, QString::fromLatin1(kName), kIndex) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle(QStringLiteral("Password?"));
  // The designed 3435 x 1140 leaves too little room for a label, a box and a
  // button in today's fonts; the window keeps its width and grows in height.
  setSizeTwips(3435, 1500);
  QWidget* area = client();
  const QFont small(QStringLiteral("Arial"), 8);

  Label1 = new Label(area, QStringLiteral("Label1"), QStringLiteral("Enter Password:"));
  Label1->setAccessibleName(Label1->text());
  Label1->setFont(small);
  placeTwips(Label1, 60, 60, 2400, 240);

  Text1 = new PasswordBox(area, QStringLiteral("Text1"));
  Text1->setAccessibleName(QStringLiteral("Enter Password:"));
  // Every typed character shows as "?" (character 63).
  Text1->setStyleSheet(QStringLiteral("lineedit-password-character: 63"));
  Text1->setFont(small);
  Label1->setBuddy(Text1);
  placeTwips(Text1, 60, 345, 3225, 315);

  Command1 = new Button(area, QStringLiteral("Command1"), QStringLiteral("OK"));
  Command1->setFont(small);
  placeTwips(Command1, 2640, 30, 645, 285);
  Command2 = new Button(area, QStringLiteral("Command2"), QStringLiteral("mistake sorry......."));
  Command2->setFont(small);
  placeTwips(Command2, 60, 735, 3225, 330);

  setAccessibleDescription(Label1->text());
  setCancelButton(Command2);

  setTabOrder(Text1, Command1);
  setTabOrder(Command1, Command2);

  Command1->onClick = [this] { tryPassword(); };
  Command2->onClick = [this] { hide(); };
}

void PasswordWindow::tryPassword() {
  if (Text1->text() != kPassword) return;
  MainWindow& main = runtime().form<MainWindow>();
  main.RichTextBox1->setLocked(false);
  main.RichTextBox3->setLocked(false);
  main.RichTextBox2->setLocked(false);
  main.cost->setLocked(false);
  hide();
  Text1->clear();
}

}  // namespace tempodial

// The main window's controls: the clock's boxes, the cost area, the buttons
// and panels, placed in twips where the window's design puts them, and their
// tab order.
#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "platform/forms/twips.h"
#include "windows/artwork/artwork.h"
#include "windows/main/main_window.h"

namespace tempodial {
namespace {

Button3D* threeDButton(QWidget* parent, const char* name, const QString& caption, Art art) {
  return new Button3D(parent, QString::fromLatin1(name), caption, artIcon(art));
}

}  // namespace

void MainWindow::buildControls() {
  QWidget* area = client();
  Frame2 = new Frame(area, QStringLiteral("Frame2"), QStringLiteral("Present Time Usage"));
  placeTwips(Frame2, 120, 0, 2655, 975);
  Label1 = new Label(Frame2, QStringLiteral("Label1"), QStringLiteral("Hours"));
  Label2 = new Label(Frame2, QStringLiteral("Label2"), QStringLiteral("Minutes"));
  Label3 = new Label(Frame2, QStringLiteral("Label3"), QStringLiteral("Seconds"));
  RichTextBox3 = new RichTextBox(Frame2, QStringLiteral("RichTextBox3"), QStringLiteral("Hours"));
  RichTextBox2 = new RichTextBox(Frame2, QStringLiteral("RichTextBox2"), QStringLiteral("Minutes"));
  RichTextBox1 = new RichTextBox(Frame2, QStringLiteral("RichTextBox1"), QStringLiteral("Seconds"));
  const int lefts[] = {120, 960, 1800};
  Label* labels[] = {Label1, Label2, Label3};
  RichTextBox* counters[] = {RichTextBox3, RichTextBox2, RichTextBox1};
  for (int i = 0; i < 3; ++i) {
    placeTwips(labels[i], lefts[i], 240, 735, 225);
    placeTwips(counters[i], lefts[i], 480, 735, 375);
    counters[i]->setText(QStringLiteral("0"));
    counters[i]->setLocked(true);
  }

  SSPanel1 = new Panel3D(area, QStringLiteral("SSPanel1"), Panel3D::Kind::Status);
  placeTwips(SSPanel1, 120, 1080, 2655, 615);
  Check1 = new CheckBox(area, QStringLiteral("Check1"), QStringLiteral("S&how Cost"));
  placeTwips(Check1, 120, 1800, 1215, 255);
  SSPanel2 = new Panel3D(area, QStringLiteral("SSPanel2"));
  SSPanel2->setTakesFocus(true);
  SSPanel2->setAccessibleDescription(QStringLiteral("Shift+F10 chooses the currency"));
  placeTwips(SSPanel2, 1440, 1800, 1215, 255);

  Frame3 = new Frame(area, QStringLiteral("Frame3"), QStringLiteral("Cost so far....."));
  placeTwips(Frame3, 120, 2280, 4695, 1935);
  Label4 = new Label(Frame3, QStringLiteral("Label4"), QStringLiteral("£"));
  QFont symbolFont(QStringLiteral("Arial"), 18);
  symbolFont.setBold(true);
  Label4->setFont(symbolFont);
  placeTwips(Label4, 120, 840, 360, 435);
  cost = new RichTextBox(Frame3, QStringLiteral("cost"), QStringLiteral("Cost so far"));
  cost->setFont(arialFont(14.5));
  cost->setLocked(true);
  placeTwips(cost, 480, 720, 1575, 615);
  // Shown only while a tariff plan is in use.
  planRate = new Label(Frame3, QStringLiteral("planRate"), QString());
  planRate->setVisible(false);
  placeTwips(planRate, 480, 1380, 1575, 375);
  SSCommand7 = threeDButton(Frame3, "SSCommand7", QStringLiteral("S&ave Cost Log"), Art::SaveCost);
  placeTwips(SSCommand7, 2160, 240, 2415, 795);
  SSCommand8 = threeDButton(Frame3, "SSCommand8", QStringLiteral("L&oad Cost Log"), Art::LoadCost);
  placeTwips(SSCommand8, 2160, 1080, 2415, 795);

  Frame1 = new Frame(area, QStringLiteral("Frame1"), QStringLiteral("Controls"));
  placeTwips(Frame1, 3000, 0, 4695, 2175);
  SSCommand1 = threeDButton(Frame1, "SSCommand1", QStringLiteral("S&tart/Stop"), Art::Start);
  // Pressed in while the clock runs, which assistive technology reads too.
  SSCommand1->setCheckable(true);
  placeTwips(SSCommand1, 120, 240, 2175, 855);
  SSCommand2 = threeDButton(Frame1, "SSCommand2", QStringLiteral("&Reset to 00:0:00"), Art::Reset);
  placeTwips(SSCommand2, 2400, 240, 2175, 855);
  SSCommand3 =
      threeDButton(Frame1, "SSCommand3", QStringLiteral("&Save Current TimeLog"), Art::Save);
  placeTwips(SSCommand3, 120, 1200, 2175, 855);
  SSCommand4 =
      threeDButton(Frame1, "SSCommand4", QStringLiteral("&Load Previous TimeLog"), Art::Load);
  placeTwips(SSCommand4, 2400, 1200, 2175, 855);

  // No caption until the first caption refresh; its name is there at once.
  Command1 = new Button(area, QStringLiteral("Command1"), QString());
  Command1->setAccessibleName(QStringLiteral("Show buttonbar"));
  placeTwips(Command1, 4920, 2400, 2775, 495);
  Command2 = new Button(area, QStringLiteral("Command2"), QStringLiteral("&Show options"));
  placeTwips(Command2, 4920, 3000, 2775, 495);
  Command3 = new Button(area, QStringLiteral("Command3"), QStringLiteral("E&xit"));
  Command3->setFaceColour(QColor(0xd4, 0xd4, 0xd4));
  placeTwips(Command3, 4920, 3600, 2775, 495);

  RichTextBox4 = new RichTextBox(hiddenControls(), QStringLiteral("RichTextBox4"), QString());
  RichTextBox4->setText(QStringLiteral("0"));

  Timer5 = new FormTimer(this, QStringLiteral("Timer5"), 400, true);
  Timer3 = new FormTimer(this, QStringLiteral("Timer3"), 1000, true);

  // The currency panel follows the check box, so that its pop-up menu can be
  // reached from the keyboard.
  QWidget* order[] = {SSCommand1, SSCommand2,   SSCommand3,   SSCommand4,   Check1,
                      SSPanel2,   SSCommand7,   SSCommand8,   Command1,     Command2,
                      Command3,   RichTextBox3, RichTextBox2, RichTextBox1, cost};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  SSCommand1->setFocus();
}

}  // namespace tempodial

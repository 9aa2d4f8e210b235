#include "windows/programs/locations_window.h"

#include <QKeyEvent>

#include "core/values/value_document.h"
#include "platform/forms/controls.h"
#include "platform/forms/twips.h"
#include "platform/runtime/runtime.h"
#include "windows/totals/box_files.h"

namespace tempodial {
namespace {

constexpr int kClientWidthTwips = 6015;
constexpr int kRowTwips = 960;
constexpr int kMarginTwips = 120;

QFont labelFont() { return QFont(QStringLiteral("Arial"), 12); }

QFont boxFont() {
  QFont font(QStringLiteral("MS Sans Serif"), 8);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace

LocationsWindow::LocationsWindow(Runtime& runtime)
    : Form(runtime, QString::fromLatin1(kName), kIndex) {
  setWindowTitle(QStringLiteral("Set your Program Locations"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setClientSizeTwips(kClientWidthTwips, kMarginTwips + 3 * kRowTwips);

  QWidget* area = client();
  const QString programs[] = {QStringLiteral("Netscape Communicator"),
                              QStringLiteral("Dial Up networking"),
                              QStringLiteral("Internet Explorer 4")};
  const char* labelNames[] = {"label1", "Label2", "Label3"};
  Label** labels[] = {&label1, &Label2, &Label3};
  RichTextBox** boxes[] = {&RichTextBox1, &RichTextBox2, &RichTextBox3};
  Button** refreshButtons[] = {&Command4, &Command5, &Command6};
  Button** setButtons[] = {&Command1, &Command2, &Command3};
  QWidget* previous = nullptr;
  for (int i = 0; i < 3; ++i) {
    const int row = i + 1;
    const int top = kMarginTwips + i * kRowTwips;
    Label* label = new Label(area, QString::fromLatin1(labelNames[i]), programs[i]);
    label->setFont(labelFont());
    label->setAccessibleName(programs[i]);
    placeTwips(label, kMarginTwips, top, 3135, 375);
    Button* refresh =
        new Button(area, QStringLiteral("Command%1").arg(row + 3), QStringLiteral("REFRESH"));
    refresh->setAccessibleDescription(QStringLiteral("Reload the location of ") + programs[i]);
    placeTwips(refresh, 3360, top, 1215, 375);
    Button* set = new Button(area, QStringLiteral("Command%1").arg(row), QStringLiteral("SET"));
    set->setAccessibleDescription(QStringLiteral("Store the location of ") + programs[i]);
    placeTwips(set, 4680, top, 1215, 375);
    RichTextBox* box = new RichTextBox(area, QStringLiteral("RichTextBox%1").arg(row), programs[i]);
    box->setFont(boxFont());
    placeTwips(box, kMarginTwips, top + 420, kClientWidthTwips - 2 * kMarginTwips, 375);
    label->setBuddy(box);

    refresh->onClick = [this, row] { refreshRow(row); };
    set->onClick = [this, row] { setRow(row); };
    for (QWidget* next :
         {static_cast<QWidget*>(refresh), static_cast<QWidget*>(set), static_cast<QWidget*>(box)}) {
      if (previous != nullptr) setTabOrder(previous, next);
      previous = next;
    }
    *labels[i] = label;
    *boxes[i] = box;
    *refreshButtons[i] = refresh;
    *setButtons[i] = set;
  }
}

void LocationsWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    onCloseRequested();
    return;
  }
  Form::keyPressEvent(event);
}

void LocationsWindow::onLoad() {
  for (int row = 1; row <= 3; ++row) {
    loadBoxQuietly(runtime(), Place::Data, locationFile(row), *box(row));
  }
}

RichTextBox* LocationsWindow::box(int row) const {
  switch (row) {
    case 1:
      return RichTextBox1;
    case 2:
      return RichTextBox2;
    case 3:
      return RichTextBox3;
    default:
      return nullptr;
  }
}

std::string_view LocationsWindow::locationFile(int row) {
  switch (row) {
    case 1:
      return files::kLocation1;
    case 2:
      return files::kLocation2;
    case 3:
      return files::kLocation3;
    default:
      return {};
  }
}

void LocationsWindow::refreshRow(int row) {
  if (!loadBox(runtime(), Place::Data, locationFile(row), *box(row)).ok()) {
    runtime().message(QStringLiteral("error, unable to load file"));
  }
}

void LocationsWindow::setRow(int row) {
  Runtime& rt = runtime();
  if (!saveBox(rt, Place::Data, locationFile(row), *box(row), kSansSerifBoxFont)) return;
  rt.message(QStringLiteral("OK, location set"));
  hide();
  rt.unload(formName());
}

}  // namespace tempodial

// The classic control rules the windows rely on.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include "platform/forms/controls.h"
#include "platform/runtime/qt_services.h"

namespace tempodial {
namespace {

TEST(ComboBoxRule, TypedTextWithReturnOrLeavingTheBoxIsNoChoice) {
  QWidget window;
  auto* combo = new ComboBox(&window, QStringLiteral("Combo1"), QStringLiteral("Tariff"));
  auto* other = new QLineEdit(&window);
  combo->addItems({QStringLiteral("Weekday"), QStringLiteral("Weekend")});
  int clicks = 0;
  combo->onClick = [&] { ++clicks; };
  window.show();
  QApplication::setActiveWindow(&window);
  combo->lineEdit()->setFocus();
  combo->lineEdit()->clear();
  QTest::keyClicks(combo->lineEdit(), QStringLiteral("Weekend"));
  QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
  other->setFocus();
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(combo->text(), "Weekend");
  // Stepping through the list with the arrow keys chooses, as clicking does.
  combo->lineEdit()->setFocus();
  QTest::keyClick(combo->lineEdit(), Qt::Key_Up);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(combo->text(), "Weekday");
}

TEST(CheckBoxRule, ClickHandlingRunsExactlyWhenTheValueChanges) {
  CheckBox box(nullptr, QStringLiteral("Check1"), QStringLiteral("S&how Cost"));
  int clicks = 0;
  box.onClick = [&] { ++clicks; };
  box.setValue(0);
  EXPECT_EQ(clicks, 0);
  box.setValue(1);
  box.setValue(1);
  EXPECT_EQ(clicks, 1);
  box.click();
  EXPECT_EQ(box.value(), 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(box.accessibleName(), "Show Cost");
}

TEST(RichTextBoxRule, ChangeHandlingRunsOnceInsideTheStatementThatSetTheText) {
  // Whatever the box held before, the handler sees the new text once, and
  // never the empty box between the old text and the new.
  for (const QString& before : {QString(), QStringLiteral("59"), QStringLiteral("1\n2")}) {
    RichTextBox box(nullptr, QStringLiteral("RichTextBox1"), QStringLiteral("Seconds"));
    box.setText(before);
    QStringList seen;
    box.onChange = [&] {
      seen << box.text();
      if (box.text() == "60") box.setText(QStringLiteral("0"));
    };
    box.setText(QStringLiteral("60"));
    EXPECT_EQ(seen, (QStringList{"60", "0"})) << before.toStdString();
    EXPECT_EQ(box.text(), "0");
  }
}

TEST(RichTextBoxRule, TheProgramsTextLeavesNoUndoAndTheCaretAtTheStart) {
  RichTextBox box(nullptr, QStringLiteral("Text1"), QStringLiteral("Weekday"));
  box.show();
  QApplication::setActiveWindow(&box);
  box.setFocus();
  QTest::keyClicks(&box, QStringLiteral("typed"));
  box.setText(QStringLiteral("4.5"));
  EXPECT_FALSE(box.document()->isUndoAvailable());
  QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(box.text(), "4.5");
  EXPECT_EQ(box.textCursor().position(), 0);
  // The user's own typing can still be undone.
  QTest::keyClicks(&box, QStringLiteral("1"));
  EXPECT_EQ(box.text(), "14.5");
  QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(box.text(), "4.5");
}

TEST(AccessKeys, CaptionWithoutItsMarks) {
  EXPECT_EQ(withoutAccessKeys(QStringLiteral("E&xit")), "Exit");
  EXPECT_EQ(withoutAccessKeys(QStringLiteral("Exit && Save")), "Exit & Save");
  EXPECT_EQ(withoutAccessKeys(QStringLiteral("No Save && No Exit")), "No Save & No Exit");
}

// A notice stands beside the windows without holding them: no window is
// modal while it shows, so the buttons and the commands from outside stay
// free; its OK closes it.
TEST(NoticeRule, StandsWithoutHoldingTheWindowsUntilItsOk) {
  QtServices().notice(QStringLiteral("Only tunnels (tun0) carry a default route"));
  QPointer<QMessageBox> box;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* shown = qobject_cast<QMessageBox*>(window);
    if (shown != nullptr && shown->isVisible()) box = shown;
  }
  ASSERT_TRUE(box);
  EXPECT_EQ(box->windowTitle(), "Tempodial");
  EXPECT_EQ(box->text(), "Only tunnels (tun0) carry a default route");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  box->button(QMessageBox::Ok)->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(box);
}

}  // namespace
}  // namespace tempodial

// A locked box changes only when the program writes it: every other way a
// text can arrive (keys, pasting, dropping, an input method, assistive
// technology's editable-text calls) leaves it as it was and runs no carry.
// Once unlocked, the same ways work.
#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <functional>

#include "platform/forms/controls.h"
#include "platform/forms/password_box.h"
#include "tests/windows/window_fixture.h"
#include "windows/main/main_window.h"
#include "windows/main/password_window.h"

namespace tempodial {
namespace {

struct Way {
  const char* name;
  std::function<void(RichTextBox&)> put60;  // tries to make the box read 60
};

void keys(RichTextBox& box) {
  box.setFocus();
  box.selectAll();
  for (QChar c : QStringLiteral("60")) {
    QKeyEvent press(QEvent::KeyPress, c.unicode(), Qt::NoModifier, QString(c));
    QApplication::sendEvent(box.viewport(), &press);
  }
}

void paste(RichTextBox& box) {
  QApplication::clipboard()->setText(QStringLiteral("60"));
  box.selectAll();
  box.paste();
}

void drop(RichTextBox& box) {
  QMimeData data;
  data.setText(QStringLiteral("60"));
  const QPointF at(2, 2);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(box.viewport(), &enter);
  QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(box.viewport(), &dropped);
}

void inputMethod(RichTextBox& box) {
  box.setFocus();
  box.selectAll();
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("60"));
  QApplication::sendEvent(&box, &commit);
}

void assistiveReplace(RichTextBox& box) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
  ASSERT_NE(accessible, nullptr);
  ASSERT_NE(accessible->editableTextInterface(), nullptr);
  const int length = accessible->textInterface()->characterCount();
  accessible->editableTextInterface()->replaceText(0, length, QStringLiteral("60"));
}

void assistiveInsert(RichTextBox& box) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
  ASSERT_NE(accessible, nullptr);
  ASSERT_NE(accessible->editableTextInterface(), nullptr);
  accessible->editableTextInterface()->deleteText(0, accessible->textInterface()->characterCount());
  accessible->editableTextInterface()->insertText(0, QStringLiteral("60"));
}

class LockTest : public WindowTest, public testing::WithParamInterface<Way> {
 protected:
  void SetUp() override {
    startMain();
    main().show();
    main().RichTextBox1->setText(QStringLiteral("7"));
  }
};

TEST_P(LockTest, ALockedSecondsBoxRefusesTheChangeAndNothingCarries) {
  GetParam().put60(*main().RichTextBox1);
  EXPECT_EQ(main().RichTextBox1->text(), "7");
  EXPECT_EQ(session->clock().minutes(), "0");
  EXPECT_EQ(session->clock().cost(), "0");
  // The program itself still writes it, with its carries.
  main().RichTextBox1->setNumber(60);
  EXPECT_EQ(main().RichTextBox1->text(), "0");
  EXPECT_EQ(session->clock().minutes(), "1");
}

TEST_P(LockTest, AnUnlockedSecondsBoxTakesTheChange) {
  auto& password = runtime->form<PasswordWindow>();
  password.Text1->setText(QStringLiteral("marlin"));
  password.Command1->click();
  ASSERT_FALSE(main().RichTextBox1->locked());
  GetParam().put60(*main().RichTextBox1);
  // A drop inserts where it lands ("607"); the others replace the text, so
  // that 60 seconds carry into a minute.
  EXPECT_TRUE(main().RichTextBox1->text() == "607" || main().RichTextBox2->text() == "1")
      << main().RichTextBox1->text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryWay, LockTest,
                         testing::Values(Way{"Keys", &keys}, Way{"Paste", &paste},
                                         Way{"Drop", &drop}, Way{"InputMethod", &inputMethod},
                                         Way{"AssistiveReplace", &assistiveReplace},
                                         Way{"AssistiveInsert", &assistiveInsert}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tempodial

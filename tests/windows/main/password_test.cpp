// The control lock: the password window and the four boxes it unlocks.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "platform/forms/controls.h"
#include "platform/forms/password_box.h"
#include "tests/windows/window_fixture.h"
#include "windows/main/main_window.h"
#include "windows/main/password_window.h"

namespace tempodial {
namespace {

void pressKey(QWidget* widget, int key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &release);
}

void type(QWidget* widget, const QString& text) {
  for (QChar c : text) pressKey(widget, c.unicode(), QString(c));
}

class PasswordTest : public WindowTest {
 protected:
  void SetUp() override {
    startMain();
    main().show();
  }
  PasswordWindow& openFrom(QAction* MainWindow::*item) {
    (main().*item)->trigger();
    return runtime->form<PasswordWindow>();
  }
  std::vector<RichTextBox*> lockable() {
    return {main().RichTextBox1, main().RichTextBox2, main().RichTextBox3, main().cost};
  }
  void expectAllLocked(bool locked) {
    for (RichTextBox* box : lockable()) {
      EXPECT_EQ(box->locked(), locked) << box->objectName().toStdString();
    }
  }
};

TEST_F(PasswordTest, AnyTextButTheExactPasswordChangesNothing) {
  PasswordWindow& window = openFrom(&MainWindow::un2);
  for (const char* attempt : {"", "MARLIN", "Marlin", "marlin ", " marlin", "marli", "marlinn"}) {
    SCOPED_TRACE(attempt);
    window.Text1->setText(QString::fromLatin1(attempt));
    window.Command1->click();
    expectAllLocked(true);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.Text1->text(), QString::fromLatin1(attempt));
  }
  EXPECT_TRUE(services.messages.isEmpty());
}

TEST_F(PasswordTest, TypedCharactersShowAsQuestionMarks) {
  PasswordWindow& window = openFrom(&MainWindow::un1);
  type(window.Text1, QStringLiteral("abc"));
  EXPECT_EQ(window.Text1->text(), "abc");
  EXPECT_EQ(window.Text1->displayText(), "???");
}

// Enter in the box is not "OK"; Escape is "mistake sorry.......": the
// window hides and keeps the text, nothing is unlocked.
TEST_F(PasswordTest, EnterInTheBoxDoesNotUnlockAndEscapeIsMistakeSorry) {
  PasswordWindow& window = openFrom(&MainWindow::un1);
  type(window.Text1, QStringLiteral("marlin"));
  pressKey(window.Text1, Qt::Key_Return);
  pressKey(window.Text1, Qt::Key_Enter);
  expectAllLocked(true);
  EXPECT_TRUE(window.isVisible());
  pressKey(window.Text1, Qt::Key_Escape);
  expectAllLocked(true);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.Text1->text(), "marlin");
}

TEST_F(PasswordTest, MistakeSorryHidesButKeepsTheWrongTextForNextTime) {
  PasswordWindow& window = openFrom(&MainWindow::un2);
  type(window.Text1, QStringLiteral("marln"));
  window.Command2->click();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(&openFrom(&MainWindow::un1), &window);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.Text1->text(), "marln");
  expectAllLocked(true);
}

TEST_F(PasswordTest, TitleBarCloseCannotDismissTheWindow) {
  PasswordWindow& window = openFrom(&MainWindow::un2);
  window.close();
  EXPECT_TRUE(runtime->isLoaded(QString::fromLatin1(PasswordWindow::kName)));
  EXPECT_TRUE(window.isVisible());
}

class UnlockFromMenu : public PasswordTest,
                       public testing::WithParamInterface<QAction * MainWindow::*> {};

TEST_P(UnlockFromMenu, RightPasswordUnlocksAllFourBoxesHidesAndReopensEmpty) {
  PasswordWindow& window = openFrom(GetParam());
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(services.modalsShown.isEmpty());
  expectAllLocked(true);

  type(window.Text1, QStringLiteral("marlin"));
  window.Command1->click();
  expectAllLocked(false);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(window.Text1->text().isEmpty());

  openFrom(GetParam());
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(window.Text1->text().isEmpty());
  // A second right answer changes nothing but closes the window again.
  type(window.Text1, QStringLiteral("marlin"));
  window.Command1->click();
  expectAllLocked(false);
  EXPECT_FALSE(window.isVisible());
}

INSTANTIATE_TEST_SUITE_P(EitherMenuItem, UnlockFromMenu,
                         testing::Values(&MainWindow::un1, &MainWindow::un2),
                         [](const testing::TestParamInfo<QAction * MainWindow::*>& info) {
                           return info.param == &MainWindow::un1 ? std::string("UnlockBoxes")
                                                                 : std::string("UnlockControls");
                         });

TEST_F(PasswordTest, LockedBoxesIgnoreTypingAndUnlockedSecondsCarryAtSixty) {
  RichTextBox* seconds = main().RichTextBox1;
  seconds->selectAll();
  type(seconds, QStringLiteral("60"));
  EXPECT_EQ(seconds->text(), "0");

  PasswordWindow& window = openFrom(&MainWindow::un1);
  window.Text1->setText(QStringLiteral("marlin"));
  window.Command1->click();
  seconds->selectAll();
  type(seconds, QStringLiteral("60"));
  EXPECT_EQ(main().RichTextBox2->text(), "1");
  EXPECT_EQ(seconds->text(), "0");

  main().cost->selectAll();
  type(main().cost, QStringLiteral("2.5"));
  EXPECT_EQ(main().cost->text(), "2.5");
}

}  // namespace
}  // namespace tempodial

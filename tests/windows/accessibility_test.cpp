// Assistive technology and automated tests find every control by name.
#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "platform/forms/form.h"
#include "tests/windows/window_fixture.h"

namespace tempodial {
namespace {

TEST_F(WindowTest, EveryVisibleControlOfEveryWindowHasAnAccessibleName) {
  startMain();
  for (const QString& name : runtime->formNames()) {
    Form& form = runtime->form(name);
    for (QWidget* control : form.findChildren<QWidget*>()) {
      const bool interactive =
          qobject_cast<QAbstractButton*>(control) || qobject_cast<QComboBox*>(control) ||
          qobject_cast<QPlainTextEdit*>(control) || qobject_cast<QLineEdit*>(control);
      if (!interactive || control->isHidden()) continue;
      // Qt's own helpers (the menu bar's overflow button) name themselves.
      if (control->objectName().startsWith(QLatin1String("qt_"))) continue;
      // A combo box's own line edit is named through the combo box.
      if (qobject_cast<QComboBox*>(control->parentWidget())) continue;
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
      ASSERT_NE(accessible, nullptr);
      EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
          << qPrintable(name) << "." << qPrintable(control->objectName());
    }
  }
}

// Each window is a frame or a dialog named by its caption, as a screen reader
// announces it; the reset confirmation, which has no caption, by its question.
TEST_F(WindowTest, EveryWindowIsAFrameOrADialogNamedByItsCaption) {
  startMain();
  struct Expected {
    const char* form;
    QAccessible::Role role;
    const char* name;
  };
  const Expected windows[] = {
      {"Splash", QAccessible::Window, "Tempodial"},
      {"timer", QAccessible::Window, "Tempodial"},
      {"locations", QAccessible::Dialog, "Set your Program Locations"},
      {"rusure", QAccessible::Dialog, "Reset the clock to 0:0:0?"},
      {"Helpsf", QAccessible::Dialog, "Help and credits"},
      {"quesexit", QAccessible::Dialog, "Exit Options"},
      {"vaskpass", QAccessible::Dialog, "Password?"},
      {"buttonbar", QAccessible::Window, "Buttonbar"},
      {"Options", QAccessible::Window, "Options"},
      {"aboutwex", QAccessible::Dialog, "About W.E.X."},
      {"quesexit2", QAccessible::Dialog, "Just a minute..."},
      {"buttques", QAccessible::Dialog, "Buttonbar Question"},
      {"restore", QAccessible::Dialog, "Restore last session?"},
      {"history", QAccessible::Window, "History"},
      {"automatic", QAccessible::Dialog, "Automatic timing"},
      {"plans", QAccessible::Window, "Tariff plans"},
  };
  ASSERT_EQ(runtime->formNames().size(), std::size(windows));
  for (const Expected& expected : windows) {
    Form& form = runtime->form(QString::fromLatin1(expected.form));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&form);
    ASSERT_NE(accessible, nullptr) << expected.form;
    EXPECT_EQ(accessible->role(), expected.role) << expected.form;
    EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(expected.name))
        << expected.form;
  }
  // The reset confirmation's title bar shows nothing.
  EXPECT_TRUE(runtime->form(QStringLiteral("rusure")).windowTitle().trimmed().isEmpty());
}

}  // namespace
}  // namespace tempodial

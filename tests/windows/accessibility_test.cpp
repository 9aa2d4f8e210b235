// Assistive technology and automated tests find every control by name.
#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "platform/form.h"
#include "window_fixture.h"

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

}  // namespace
}  // namespace tempodial

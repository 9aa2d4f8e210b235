#include "platform/forms/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "platform/forms/accessible_controls.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

namespace tempodial {
namespace {

// A window: a frame or a dialog, named by its caption whatever its state (a
// minimised window keeps the caption it shows in the task bar), unless the
// window names itself (a window without a title text says what it asks).
class FormAccessible : public QAccessibleWidget {
 public:
  explicit FormAccessible(Form* form) : QAccessibleWidget(form, QAccessible::Window) {}

  QAccessible::Role role() const override {
    return form()->accessibleRole() == Form::Role::Dialog ? QAccessible::Dialog
                                                          : QAccessible::Window;
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      if (!form()->accessibleName().isEmpty()) return form()->accessibleName();
      return form()->windowTitle();
    }
    return QAccessibleWidget::text(t);
  }

 private:
  Form* form() const { return static_cast<Form*>(widget()); }
};

// The status panel: a status bar named by its message.
class StatusAccessible : public QAccessibleWidget {
 public:
  explicit StatusAccessible(Panel3D* panel) : QAccessibleWidget(panel, QAccessible::StatusBar) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return static_cast<Panel3D*>(widget())->caption();
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* makeAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String("tempodial::Form")) {
    return new FormAccessible(static_cast<Form*>(object));
  }
  if (className == QLatin1String("tempodial::StatusMessage")) {
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
  }
  if (className == QLatin1String("tempodial::PictureBox")) {
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
  }
  if (className == QLatin1String("tempodial::Panel3D")) {
    auto* panel = static_cast<Panel3D*>(object);
    if (panel->liveStatus()) return new StatusAccessible(panel);
  }
  return makeControlAccessible(className, object);
}

}  // namespace

void installAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&makeAccessible);
    return true;
  }();
  (void)installed;
}

}  // namespace tempodial

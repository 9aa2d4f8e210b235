#include "platform/forms/accessible_controls.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabBar>
#include <QTimer>
#include <QWindow>
#include <vector>

#include "platform/forms/accessible_views.h"
#include "platform/forms/controls.h"

namespace tempodial {
namespace {

// An action from assistive technology arrives as a call on the bus, which is
// answered before the click it asks for runs: a click may open a window or a
// message that waits for the user.
template <typename Step>
void afterTheCall(QObject* context, Step step) {
  QTimer::singleShot(0, context, step);
}

// A 3-D button: a button whose one action is a click, so that assistive
// technology does exactly what a click does. One that stays pressed in while
// it is on (Start/Stop) is a check box, checked while on: screen readers say
// "checked" or "not checked" on focus, on where-am-I and at each change, which
// they say of no pressed push button.
class ThreeDButtonAccessible : public QAccessibleWidget {
 public:
  explicit ThreeDButtonAccessible(Button3D* button)
      : QAccessibleWidget(button, QAccessible::Button) {}

  QAccessible::Role role() const override {
    return button()->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return button()->accessibleName();
    return QAccessibleWidget::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = button()->isCheckable();
    state.checked = state.checkable && button()->isChecked();
    state.pressed = false;
    return state;
  }

  QStringList actionNames() const override {
    if (button()->isCheckable()) return {toggleAction(), pressAction()};
    return {pressAction()};
  }

  void doAction(const QString& action) override {
    if (!actionNames().contains(action) || !button()->isEnabled()) return;
    if (heldByQuestion(button())) return;
    QPointer<Button3D> target = button();
    afterTheCall(target, [target] {
      if (target && !heldByQuestion(target)) target->click();
    });
  }

 private:
  Button3D* button() const { return static_cast<Button3D*>(widget()); }
};

// A panel: a label named by its caption; where it has a pop-up menu (the
// currency panel), its action opens the menu.
class MenuPanelAccessible : public QAccessibleWidget {
 public:
  explicit MenuPanelAccessible(Panel3D* panel)
      : QAccessibleWidget(panel, QAccessible::StaticText) {}

  // One that takes the focus and has a menu is a panel with a pop-up, so
  // that a screen reader says its description (how to open the menu) and
  // that it has one, which it says of no label.
  QAccessible::Role role() const override {
    return takesFocus() ? QAccessible::Pane : QAccessible::StaticText;
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.hasPopup = takesFocus();
    return state;
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return panel()->caption();
    return QAccessibleWidget::text(t);
  }

  QStringList actionNames() const override {
    if (!panel()->onMouseDown) return {};
    return {showMenuAction()};
  }

  void doAction(const QString& action) override {
    if (action != showMenuAction() || heldByQuestion(panel())) return;
    QPointer<Panel3D> target = panel();
    afterTheCall(target, [target] {
      if (target) target->popUpMenu();
    });
  }

 private:
  Panel3D* panel() const { return static_cast<Panel3D*>(widget()); }
  bool takesFocus() const { return panel()->onMouseDown && panel()->focusPolicy() != Qt::NoFocus; }
};

class ComboAccessible;

// What an editable list holds, as its list and the entries in it: neither is
// a widget of its own. Each knows its list box, and stops being valid with it.
class ComboPartAccessible : public QAccessibleInterface {
 public:
  explicit ComboPartAccessible(ComboBox* combo) : combo_(combo) {}

  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return combo_ ? combo_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  void setText(QAccessible::Text, const QString&) override {}
  // While the list is open, the list's place on the screen; while it is
  // closed, the box's.
  QRect rect() const override {
    if (!combo_) return {};
    if (listOpen()) {
      const QWidget* list = combo_->view();
      return {list->mapToGlobal(QPoint(0, 0)), list->size()};
    }
    return {combo_->mapToGlobal(QPoint(0, 0)), combo_->size()};
  }

 protected:
  ComboBox* combo() const { return combo_; }
  bool listOpen() const {
    const QWidget* popup = combo_ ? combo_->view()->window() : nullptr;
    return popup != nullptr && popup != combo_->window() && popup->isVisible();
  }
  // On screen only while the list is open.
  QAccessible::State partState() const {
    QAccessible::State state;
    state.invisible = !listOpen();
    state.offscreen = state.invisible;
    return state;
  }

  QPointer<ComboBox> combo_;
};

// One entry: named by its text, selected while it is the list box's text,
// and chosen, as with the mouse, by its action.
class ComboEntryAccessible : public ComboPartAccessible, public QAccessibleActionInterface {
 public:
  ComboEntryAccessible(ComboBox* combo, QAccessibleInterface* list, int row)
      : ComboPartAccessible(combo), list_(list), row_(row) {}

  bool isValid() const override { return combo_ && row_ < combo_->count(); }
  QAccessibleInterface* parent() const override { return list_; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !isValid()) return {};
    return combo_->itemText(row_);
  }
  // Its own row of the open list, cut by what the list shows.
  QRect rect() const override {
    if (!isValid() || !listOpen()) return ComboPartAccessible::rect();
    const QAbstractItemView* list = combo_->view();
    const QRect row = list->visualRect(list->model()->index(row_, combo_->modelColumn()));
    const QRect shown = row & list->viewport()->rect();
    return {list->viewport()->mapToGlobal(shown.topLeft()), shown.size()};
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State state = partState();
    // Scrolled out of the open list.
    state.offscreen = state.offscreen || rect().isEmpty();
    state.selectable = true;
    state.selected = isValid() && combo_->currentText() == combo_->itemText(row_);
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }

  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& action) override {
    if (action != pressAction() || !isValid() || heldByQuestion(combo_)) return;
    QPointer<ComboBox> target = combo_;
    const int row = row_;
    afterTheCall(target, [target, row] {
      if (target) target->choose(row);
    });
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QAccessibleInterface* list_;
  int row_;
};

// The list of entries.
class ComboListAccessible : public ComboPartAccessible {
 public:
  ComboListAccessible(ComboBox* combo, QAccessibleInterface* box)
      : ComboPartAccessible(combo), box_(box) {}

  bool isValid() const override { return !combo_.isNull(); }
  QAccessibleInterface* parent() const override { return box_; }
  int childCount() const override { return combo_ ? combo_->count() : 0; }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    // Made once for each row ever shown and kept: rows come and go as the
    // program changes the list, and an entry whose row has gone is invalid.
    while (static_cast<int>(entries_.size()) <= index) {
      auto* entry = new ComboEntryAccessible(combo_, const_cast<ComboListAccessible*>(this),
                                             static_cast<int>(entries_.size()));
      entries_.push_back(QAccessible::registerAccessibleInterface(entry));
    }
    return QAccessible::accessibleInterface(entries_[static_cast<std::size_t>(index)]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (QAccessible::accessibleInterface(entries_[i]) == child) return static_cast<int>(i);
    }
    return -1;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && combo_) return combo_->accessibleName();
    return {};
  }
  QAccessible::Role role() const override { return QAccessible::List; }
  QAccessible::State state() const override { return partState(); }
  // The entry at a point of the open list.
  QAccessibleInterface* childAt(int x, int y) const override {
    if (!listOpen()) return nullptr;
    const QAbstractItemView* list = combo_->view();
    const QModelIndex index = list->indexAt(list->viewport()->mapFromGlobal(QPoint(x, y)));
    return index.isValid() ? child(index.row()) : nullptr;
  }

 private:
  QAccessibleInterface* box_;
  mutable std::vector<QAccessible::Id> entries_;
};

// An editable list: named by its label's text, as the window definition
// names it, with the text it shows as its value (Qt's own interface names it
// by its value, so that a screen reader would say "Weekday combo box"). Its
// children are its text box and the list of its entries.
class ComboAccessible : public QAccessibleWidget {
 public:
  explicit ComboAccessible(ComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && !combo()->accessibleName().isEmpty()) {
      return combo()->accessibleName();
    }
    if (t == QAccessible::Value) return combo()->currentText();
    return QAccessibleWidget::text(t);
  }

  // The text box inside reports the focus, the list box only its own parts.
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.focused = state.focused && combo()->lineEdit() == nullptr;
    return state;
  }
  QAccessibleInterface* focusChild() const override {
    if (!combo()->hasFocus() || combo()->lineEdit() == nullptr) return nullptr;
    return QAccessible::queryAccessibleInterface(combo()->lineEdit());
  }

  int childCount() const override { return 2; }
  QAccessibleInterface* child(int index) const override {
    if (index == 0) return QAccessible::queryAccessibleInterface(combo()->lineEdit());
    if (index != 1) return nullptr;
    if (list_ == 0) {
      list_ = QAccessible::registerAccessibleInterface(
          new ComboListAccessible(combo(), const_cast<ComboAccessible*>(this)));
    }
    return QAccessible::accessibleInterface(list_);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (child == nullptr) return -1;
    if (child->object() == combo()->lineEdit()) return 0;
    if (list_ != 0 && QAccessible::accessibleInterface(list_) == child) return 1;
    return -1;
  }

  QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

  void doAction(const QString& action) override {
    if (action != showMenuAction() && action != pressAction()) return;
    if (heldByQuestion(combo())) return;
    QPointer<ComboBox> target = combo();
    afterTheCall(target, [target] {
      if (target) target->showPopup();
    });
  }

 private:
  ComboBox* combo() const { return static_cast<ComboBox*>(widget()); }

  mutable QAccessible::Id list_ = 0;
};

// A tab widget hands the focus to its tab bar, which reports it: the widget
// itself is not focused.
class TabWidgetAccessible : public QAccessibleWidget {
 public:
  explicit TabWidgetAccessible(QWidget* tabs) : QAccessibleWidget(tabs, QAccessible::Client) {}
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.focused = false;
    return state;
  }
};

// The area inside a text box where its text is drawn: the text box takes its
// focus (Qt hands it on), so the area is never focused itself.
class TextAreaAccessible : public QAccessibleWidget {
 public:
  explicit TextAreaAccessible(QWidget* area) : QAccessibleWidget(area, QAccessible::Client) {}
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.focused = false;
    return state;
  }
};

bool isTextArea(QObject* object) {
  auto* box = qobject_cast<QAbstractScrollArea*>(object->parent());
  return box != nullptr && box->viewport() == object &&
         qobject_cast<QPlainTextEdit*>(box) != nullptr;
}

}  // namespace

QAccessibleInterface* makeControlAccessible(const QString& className, QObject* object) {
  // Tables, lists (also a closed pop-up's) and tab bars, whatever their class.
  if (qobject_cast<QAbstractItemView*>(object) != nullptr ||
      qobject_cast<QTabBar*>(object) != nullptr) {
    return makeViewAccessible(object);
  }
  if (isTextArea(object)) return new TextAreaAccessible(static_cast<QWidget*>(object));
  if (className == QLatin1String("QTabWidget")) {
    return new TabWidgetAccessible(static_cast<QWidget*>(object));
  }
  if (className == QLatin1String("QComboBox")) return makeNamedComboAccessible(object);
  if (className == QLatin1String("tempodial::ComboBox")) {
    return new ComboAccessible(static_cast<ComboBox*>(object));
  }
  if (className == QLatin1String("tempodial::Button3D")) {
    return new ThreeDButtonAccessible(static_cast<Button3D*>(object));
  }
  if (className == QLatin1String("tempodial::Panel3D")) {
    auto* panel = static_cast<Panel3D*>(object);
    if (!panel->liveStatus()) return new MenuPanelAccessible(panel);
  }
  if (QAccessibleInterface* button = makeButtonAccessible(object)) return button;
  if (QAccessibleInterface* box = makeMaskedTextAccessible(object)) return box;
  return makeScrolledAccessible(object);
}

}  // namespace tempodial

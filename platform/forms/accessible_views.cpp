#include "platform/forms/accessible_views.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <QScrollArea>
#include <QTabBar>
#include <QWidget>

namespace tempodial {
namespace {

// Set while Qt's own interface is made, so that it is Qt's.
bool makingQtInterface = false;

// Qt's own interface of `object`, made and kept in the accessibility cache as
// it would be (ours, wrapping it, then takes the object's place there); 0
// where Qt has none.
QAccessible::Id qtInterface(QObject* object) {
  makingQtInterface = true;
  QAccessibleInterface* own = QAccessible::queryAccessibleInterface(object);
  makingQtInterface = false;
  return own == nullptr ? 0 : QAccessible::uniqueId(own);
}

// What of `widget` its window shows, in screen coordinates: its rectangle cut
// by each of its parents' (a scrolled area shows a part of what it holds).
QRect shownArea(const QWidget* widget) {
  if (widget == nullptr || !widget->isVisible()) return {};
  QRect area(widget->mapToGlobal(QPoint(0, 0)), widget->size());
  for (const QWidget* w = widget; !w->isWindow() && !area.isEmpty();) {
    w = w->parentWidget();
    area &= QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
  }
  return area;
}

// Not on screen: not "showing", nor "visible" where the widget is hidden.
void hideWhereNotShown(QAccessible::State& state, bool shown, bool widgetVisible) {
  state.invisible = state.invisible || !widgetVisible;
  state.offscreen = state.offscreen || !shown;
}

// Qt's own interface of an object, by its number, answering for it but for
// what the classes below correct.
class ForwardingAccessible : public QAccessibleInterface {
 public:
  explicit ForwardingAccessible(QAccessible::Id inner) : inner_(inner) {}

  QAccessibleInterface* inner() const { return QAccessible::accessibleInterface(inner_); }

  QWindow* window() const override { return inner() ? inner()->window() : nullptr; }
  QString text(QAccessible::Text t) const override {
    return inner() ? inner()->text(t) : QString();
  }
  void setText(QAccessible::Text t, const QString& text) override {
    if (inner()) inner()->setText(t, text);
  }
  QRect rect() const override { return inner() ? inner()->rect() : QRect(); }
  QAccessible::Role role() const override {
    return inner() ? inner()->role() : QAccessible::NoRole;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return inner() ? inner()->interface_cast(type) : nullptr;
  }

 private:
  QAccessible::Id inner_;
};

// Qt's interface of a widget as it is, but for the states `state()` corrects.
class WrapperAccessible : public ForwardingAccessible {
 public:
  WrapperAccessible(QWidget* widget, QAccessible::Id inner)
      : ForwardingAccessible(inner), widget_(widget) {}

  QWidget* widget() const { return widget_; }

  bool isValid() const override { return widget_ && inner() != nullptr && inner()->isValid(); }
  QObject* object() const override { return widget_; }
  QAccessibleInterface* focusChild() const override {
    return inner() ? inner()->focusChild() : nullptr;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    return inner() ? inner()->childAt(x, y) : nullptr;
  }
  QAccessibleInterface* parent() const override { return inner() ? inner()->parent() : nullptr; }
  QAccessibleInterface* child(int index) const override {
    return inner() ? inner()->child(index) : nullptr;
  }
  int childCount() const override { return inner() ? inner()->childCount() : 0; }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return inner() ? inner()->indexOfChild(child) : -1;
  }
  QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
      QAccessible::Relation match) const override {
    return inner() ? inner()->relations(match)
                   : QList<QPair<QAccessibleInterface*, QAccessible::Relation>>();
  }
  QAccessible::State state() const override {
    QAccessible::State state = inner() ? inner()->state() : QAccessible::State();
    hideWhereNotShown(state, !shownArea(widget_).isEmpty(), widget_ && widget_->isVisible());
    return state;
  }

 private:
  QPointer<QWidget> widget_;
};

// A view whose parts (cells, header sections, entries, tabs) are no widgets
// of their own: each part is on screen only where the view shows it, and
// focused only while the view has the focus; the view itself is focused only
// while none of its parts is.
class ViewAccessible : public WrapperAccessible {
 public:
  using WrapperAccessible::WrapperAccessible;

  // The states the view's own state decides for `part` (Qt's) at `place`;
  // a tab bar's current tab is its selected one.
  void correct(QAccessible::State& state, QAccessibleInterface* part, const QRect& place) const {
    hideWhereNotShown(state, shownArea(widget()).intersects(place),
                      widget() && widget()->isVisible());
    state.focused = state.focused && widget() && widget()->hasFocus();
    if (auto* bar = qobject_cast<QTabBar*>(widget())) {
      state.selected = WrapperAccessible::child(bar->currentIndex()) == part;
    }
  }

  QAccessibleInterface* focusChild() const override {
    return widget() && widget()->hasFocus() ? wrapped(focusedPart()) : nullptr;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    return wrapped(WrapperAccessible::childAt(x, y));
  }
  QAccessibleInterface* child(int index) const override {
    return wrapped(WrapperAccessible::child(index));
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int i = 0; i < childCount(); ++i) {
      if (this->child(i) == child) return i;
    }
    return -1;
  }
  QAccessible::State state() const override {
    QAccessible::State state = WrapperAccessible::state();
    state.focusable = widget() && widget()->focusPolicy() != Qt::NoFocus;
    state.disabled = !widget() || !widget()->isEnabled();
    // A tab asks its bar's state for its own: the bar's focus is then
    // decided by the bar alone.
    if (askingParts_) return state;
    askingParts_ = true;
    state.focused = widget() && widget()->hasFocus() && focusedPart() == nullptr;
    askingParts_ = false;
    return state;
  }

 private:
  QAccessibleInterface* wrapped(QAccessibleInterface* part) const;
  // Qt's own part that reports the focus.
  QAccessibleInterface* focusedPart() const {
    for (int i = 0; i < childCount(); ++i) {
      QAccessibleInterface* part = WrapperAccessible::child(i);
      if (part != nullptr && part->object() == nullptr && part->state().focused) return part;
    }
    return nullptr;
  }

  mutable bool askingParts_ = false;
  mutable QHash<QAccessible::Id, QAccessible::Id> parts_;  // Qt's part -> ours
};

// A part of a view; it knows the view by its interface's number, so that a
// part asked about after its view has gone is no longer on screen.
class PartAccessible : public ForwardingAccessible {
 public:
  PartAccessible(QAccessible::Id view, QAccessible::Id inner)
      : ForwardingAccessible(inner), view_(view) {}

  ViewAccessible* view() const {
    return static_cast<ViewAccessible*>(QAccessible::accessibleInterface(view_));
  }

  bool isValid() const override { return view() && inner() && inner()->isValid(); }
  QObject* object() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return view(); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) {
      state.invisible = state.offscreen = true;
      return state;
    }
    state = inner()->state();
    view()->correct(state, inner(), rect());
    return state;
  }

 private:
  QAccessible::Id view_;
};

// A part is wrapped; a widget inside the view (a tab bar's scroll buttons)
// has its own interface.
QAccessibleInterface* ViewAccessible::wrapped(QAccessibleInterface* part) const {
  if (part == nullptr || part->object() != nullptr) return part;
  const QAccessible::Id id = QAccessible::uniqueId(part);
  QAccessible::Id& ours = parts_[id];
  if (ours == 0 || QAccessible::accessibleInterface(ours) == nullptr) {
    const QAccessible::Id view = QAccessible::uniqueId(const_cast<ViewAccessible*>(this));
    ours = QAccessible::registerAccessibleInterface(new PartAccessible(view, id));
  }
  return QAccessible::accessibleInterface(ours);
}

// A list box named by its accessible name, as Qt names it on other systems;
// the entry it shows stays its value, and is also its text, which is where
// screen readers look for what a list box shows.
class NamedComboAccessible : public WrapperAccessible, public QAccessibleTextInterface {
 public:
  using WrapperAccessible::WrapperAccessible;
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget() && !widget()->accessibleName().isEmpty()) {
      return widget()->accessibleName();
    }
    return WrapperAccessible::text(t);
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface && !editable()) {
      return static_cast<QAccessibleTextInterface*>(this);
    }
    return WrapperAccessible::interface_cast(type);
  }

  // The entry shown, read only.
  QString text(int start, int end) const override { return shown().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(shown().size()); }
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
  }

 private:
  const QComboBox* combo() const { return qobject_cast<const QComboBox*>(widget()); }
  bool editable() const { return combo() == nullptr || combo()->isEditable(); }
  QString shown() const { return combo() ? combo()->currentText() : QString(); }
};

// A text box: Qt's, but its text is what it shows, so that one that masks
// what is typed (a password) gives its masked text rather than nothing: a
// screen reader then knows it is not empty, and how much it holds.
class MaskedTextAccessible : public WrapperAccessible, public QAccessibleTextInterface {
 public:
  using WrapperAccessible::WrapperAccessible;
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface && own() != nullptr) {
      return static_cast<QAccessibleTextInterface*>(this);
    }
    return WrapperAccessible::interface_cast(type);
  }

  QString text(QAccessible::Text t) const override { return WrapperAccessible::text(t); }
  QString text(int start, int end) const override {
    const auto* box = qobject_cast<const QLineEdit*>(widget());
    return box ? box->displayText().mid(start, end - start) : QString();
  }
  int characterCount() const override { return own()->characterCount(); }
  int cursorPosition() const override { return own()->cursorPosition(); }
  void setCursorPosition(int position) override { own()->setCursorPosition(position); }
  void selection(int index, int* start, int* end) const override {
    own()->selection(index, start, end);
  }
  int selectionCount() const override { return own()->selectionCount(); }
  void addSelection(int start, int end) override { own()->addSelection(start, end); }
  void removeSelection(int index) override { own()->removeSelection(index); }
  void setSelection(int index, int start, int end) override {
    own()->setSelection(index, start, end);
  }
  QRect characterRect(int offset) const override { return own()->characterRect(offset); }
  int offsetAtPoint(const QPoint& point) const override { return own()->offsetAtPoint(point); }
  void scrollToSubstring(int start, int end) override { own()->scrollToSubstring(start, end); }
  QString attributes(int offset, int* start, int* end) const override {
    return own()->attributes(offset, start, end);
  }

 private:
  QAccessibleTextInterface* own() const { return inner() ? inner()->textInterface() : nullptr; }
};

// A button as Qt presents it, whose actions a question holds.
class ButtonAccessible : public WrapperAccessible, public QAccessibleActionInterface {
 public:
  using WrapperAccessible::WrapperAccessible;
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ActionInterface && own() != nullptr) {
      return static_cast<QAccessibleActionInterface*>(this);
    }
    return WrapperAccessible::interface_cast(type);
  }

  QStringList actionNames() const override { return own()->actionNames(); }
  QString localizedActionName(const QString& action) const override {
    return own()->localizedActionName(action);
  }
  QString localizedActionDescription(const QString& action) const override {
    return own()->localizedActionDescription(action);
  }
  QStringList keyBindingsForAction(const QString& action) const override {
    return own()->keyBindingsForAction(action);
  }
  void doAction(const QString& action) override {
    if (own() != nullptr && !heldByQuestion(widget())) own()->doAction(action);
  }

 private:
  QAccessibleActionInterface* own() const { return inner() ? inner()->actionInterface() : nullptr; }
};

}  // namespace

bool heldByQuestion(const QWidget* control) {
  const QWidget* question = QApplication::activeModalWidget();
  if (question == nullptr || control == nullptr) return false;
  // What lies in the question itself, or in a window of its own, is free.
  for (const QWidget* w = control; w != nullptr; w = w->parentWidget()) {
    if (w == question) return false;
  }
  return true;
}

QAccessibleInterface* makeButtonAccessible(QObject* object) {
  if (makingQtInterface || qobject_cast<QAbstractButton*>(object) == nullptr) return nullptr;
  const QAccessible::Id qtOwn = qtInterface(object);
  if (qtOwn == 0) return nullptr;
  return new ButtonAccessible(static_cast<QWidget*>(object), qtOwn);
}

QAccessibleInterface* makeMaskedTextAccessible(QObject* object) {
  if (makingQtInterface || qobject_cast<QLineEdit*>(object) == nullptr) return nullptr;
  const QAccessible::Id qtOwn = qtInterface(object);
  if (qtOwn == 0) return nullptr;
  return new MaskedTextAccessible(static_cast<QWidget*>(object), qtOwn);
}

QAccessibleInterface* makeNamedComboAccessible(QObject* object) {
  if (makingQtInterface) return nullptr;
  const QAccessible::Id qtOwn = qtInterface(object);
  if (qtOwn == 0) return nullptr;
  return new NamedComboAccessible(static_cast<QWidget*>(object), qtOwn);
}

QAccessibleInterface* makeViewAccessible(QObject* object) {
  if (makingQtInterface) return nullptr;
  const QAccessible::Id qtOwn = qtInterface(object);
  if (qtOwn == 0) return nullptr;
  return new ViewAccessible(static_cast<QWidget*>(object), qtOwn);
}

QAccessibleInterface* makeScrolledAccessible(QObject* object) {
  if (makingQtInterface) return nullptr;
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr || widget->isWindow()) return nullptr;
  bool scrolled = false;
  for (QWidget* w = widget->parentWidget(); w != nullptr && !scrolled && !w->isWindow();
       w = w->parentWidget()) {
    scrolled = qobject_cast<QScrollArea*>(w) != nullptr;
  }
  if (!scrolled) return nullptr;
  const QAccessible::Id qtOwn = qtInterface(object);
  if (qtOwn == 0) return nullptr;
  return new WrapperAccessible(widget, qtOwn);
}

}  // namespace tempodial

#include "platform/forms/accessible_tables.h"

#include <QAccessible>
#include <QHash>
#include <QPointer>
#include <QWidget>

namespace tempodial {
namespace {

// Qt's own interface of a table reports the table as on screen and its
// current cell as focused whatever the table's state: a table on a hidden
// page would be "showing", and a table without the focus would keep a
// focused cell. These wrap Qt's interface and its cells and correct those two
// states.
class PartAccessible;

class WrappedAccessible : public QAccessibleInterface {
 public:
  WrappedAccessible(QWidget* view, QAccessible::Id inner) : view_(view), inner_(inner) {}

  QAccessibleInterface* inner() const { return QAccessible::accessibleInterface(inner_); }
  // The states the view's own state decides.
  void correct(QAccessible::State& state) const {
    const bool shown = view_ && view_->isVisible();
    state.invisible = state.invisible || !shown;
    state.offscreen = state.offscreen || !shown;
    state.focused = state.focused && view_ && view_->hasFocus();
  }

  bool isValid() const override { return view_ && inner() != nullptr; }
  QObject* object() const override { return view_; }
  QWindow* window() const override { return inner() ? inner()->window() : nullptr; }
  QAccessibleInterface* focusChild() const override {
    return view_ && view_->hasFocus() ? wrapped(focusedPart()) : nullptr;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    return wrapped(inner()->childAt(x, y));
  }
  QAccessibleInterface* parent() const override { return inner()->parent(); }
  QAccessibleInterface* child(int index) const override { return wrapped(inner()->child(index)); }
  int childCount() const override { return inner() ? inner()->childCount() : 0; }
  int indexOfChild(const QAccessibleInterface* child) const override;
  QString text(QAccessible::Text t) const override { return inner()->text(t); }
  void setText(QAccessible::Text t, const QString& text) override { inner()->setText(t, text); }
  QRect rect() const override { return inner()->rect(); }
  QAccessible::Role role() const override { return inner()->role(); }
  QAccessible::State state() const override {
    QAccessible::State state = inner()->state();
    state.focusable = view_ && view_->focusPolicy() != Qt::NoFocus;
    // Focused only while the focus is on none of its cells.
    state.focused = view_ && view_->hasFocus() && focusedPart() == nullptr;
    state.disabled = !view_ || !view_->isEnabled();
    correct(state);
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return inner() ? inner()->interface_cast(type) : nullptr;
  }

 private:
  QAccessibleInterface* wrapped(QAccessibleInterface* cell) const;
  // Qt's own cell that reports the focus.
  QAccessibleInterface* focusedPart() const {
    for (int i = 0; i < childCount(); ++i) {
      QAccessibleInterface* part = inner()->child(i);
      if (part != nullptr && part->state().focused) return part;
    }
    return nullptr;
  }

  QPointer<QWidget> view_;
  QAccessible::Id inner_;
  mutable QHash<QAccessible::Id, QAccessible::Id> cells_;  // Qt's cell -> ours
};

class PartAccessible : public QAccessibleInterface {
 public:
  PartAccessible(const WrappedAccessible* table, QAccessible::Id inner)
      : table_(table), inner_(inner) {}

  QAccessibleInterface* inner() const { return QAccessible::accessibleInterface(inner_); }

  bool isValid() const override { return inner() != nullptr && inner()->isValid(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return inner()->window(); }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return const_cast<WrappedAccessible*>(table_); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override { return inner()->text(t); }
  void setText(QAccessible::Text t, const QString& text) override { inner()->setText(t, text); }
  QRect rect() const override { return inner()->rect(); }
  QAccessible::Role role() const override { return inner()->role(); }
  QAccessible::State state() const override {
    QAccessible::State state = inner()->state();
    table_->correct(state);
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return inner()->interface_cast(type);
  }

 private:
  const WrappedAccessible* table_;
  QAccessible::Id inner_;
};

int WrappedAccessible::indexOfChild(const QAccessibleInterface* child) const {
  for (int i = 0; i < childCount(); ++i) {
    if (this->child(i) == child) return i;
  }
  return -1;
}

QAccessibleInterface* WrappedAccessible::wrapped(QAccessibleInterface* cell) const {
  if (cell == nullptr) return nullptr;
  const QAccessible::Id id = QAccessible::uniqueId(cell);
  QAccessible::Id& ours = cells_[id];
  if (ours == 0 || QAccessible::accessibleInterface(ours) == nullptr) {
    ours = QAccessible::registerAccessibleInterface(new PartAccessible(this, id));
  }
  return QAccessible::accessibleInterface(ours);
}

// Set while Qt's own interface is made, so that it is Qt's.
bool makingQtInterface = false;

}  // namespace

QAccessibleInterface* makeTableAccessible(QObject* object) {
  if (makingQtInterface) return nullptr;
  // Qt's interface is made and kept in the accessibility cache as it would
  // be; ours, wrapping it, then takes the widget's place there.
  makingQtInterface = true;
  QAccessibleInterface* qtOwn = QAccessible::queryAccessibleInterface(object);
  makingQtInterface = false;
  if (qtOwn == nullptr) return nullptr;
  return new WrappedAccessible(static_cast<QWidget*>(object), QAccessible::uniqueId(qtOwn));
}

}  // namespace tempodial

#include "platform/forms/password_box.h"

#include <QAccessible>
#include <QStyle>
#include <QStyleOptionFrame>
#include <memory>

namespace tempodial {
namespace {

// What received the events before the outermost masking began.
QAccessible::UpdateHandler outer = nullptr;
int maskings = 0;

// The box whose text `event` tells, where it masks its text.
const QLineEdit* maskingBox(QAccessibleEvent* event) {
  const auto* box = qobject_cast<const QLineEdit*>(event->object());
  return box != nullptr && box->echoMode() != QLineEdit::Normal ? box : nullptr;
}

// `text` as `box` shows it: one mask character for each character, or
// nothing where the box shows nothing.
QString masked(const QLineEdit* box, const QString& text) {
  if (box->echoMode() == QLineEdit::NoEcho || text.isEmpty()) return {};
  QStyleOptionFrame option;
  option.initFrom(box);
  const QChar mask(box->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, &option, box));
  return QString(text.size(), mask);
}

}  // namespace

std::unique_ptr<QAccessibleEvent> maskedEvent(QAccessibleEvent* event) {
  const QLineEdit* box = maskingBox(event);
  if (box == nullptr) return nullptr;
  QObject* object = event->object();
  switch (event->type()) {
    case QAccessible::TextInserted: {
      auto* inserted = static_cast<QAccessibleTextInsertEvent*>(event);
      return std::make_unique<QAccessibleTextInsertEvent>(object, inserted->changePosition(),
                                                          masked(box, inserted->textInserted()));
    }
    case QAccessible::TextRemoved: {
      auto* removed = static_cast<QAccessibleTextRemoveEvent*>(event);
      return std::make_unique<QAccessibleTextRemoveEvent>(object, removed->changePosition(),
                                                          masked(box, removed->textRemoved()));
    }
    case QAccessible::TextUpdated: {
      auto* updated = static_cast<QAccessibleTextUpdateEvent*>(event);
      return std::make_unique<QAccessibleTextUpdateEvent>(object, updated->changePosition(),
                                                          masked(box, updated->textRemoved()),
                                                          masked(box, updated->textInserted()));
    }
    case QAccessible::ValueChanged:
      return std::make_unique<QAccessibleValueChangeEvent>(object, masked(box, box->text()));
    default:
      return nullptr;
  }
}

namespace {

void maskEvent(QAccessibleEvent* event) {
  const std::unique_ptr<QAccessibleEvent> copy = maskedEvent(event);
  QAccessibleEvent* told = copy ? copy.get() : event;
  if (outer != nullptr) return outer(told);
  // Without a handler the event goes on to the platform's bridge. Only a
  // table's change of model is acted on before a handler is called; none
  // comes from inside a box's own handling.
  QAccessible::installUpdateHandler(nullptr);
  QAccessible::updateAccessibility(told);
  QAccessible::installUpdateHandler(&maskEvent);
}

}  // namespace

MaskedAccessibilityEvents::MaskedAccessibilityEvents()
    : previous_(QAccessible::installUpdateHandler(&maskEvent)) {
  if (maskings++ == 0) outer = previous_;
}

MaskedAccessibilityEvents::~MaskedAccessibilityEvents() {
  --maskings;
  QAccessible::installUpdateHandler(previous_);
}

PasswordBox::PasswordBox(QWidget* parent, const QString& name) : QLineEdit(parent) {
  setObjectName(name);
  setEchoMode(QLineEdit::Password);
}

void PasswordBox::setText(const QString& text) {
  const MaskedAccessibilityEvents masking;
  QLineEdit::setText(text);
}

void PasswordBox::clear() {
  const MaskedAccessibilityEvents masking;
  QLineEdit::clear();
}

bool PasswordBox::event(QEvent* event) {
  const MaskedAccessibilityEvents masking;
  return QLineEdit::event(event);
}

}  // namespace tempodial

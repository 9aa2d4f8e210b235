// A one-line box that masks what is typed (the password window's box): the
// screen shows one mask character for each character, and so does every
// accessibility event about its text. Qt's own box tells assistive
// technology each typed, pasted or removed character in clear, whatever it
// shows; here those events carry the mask instead, as the box's text does.
#pragma once

#include <QLineEdit>
#include <memory>

class QAccessibleEvent;

namespace tempodial {

class PasswordBox : public QLineEdit {
  Q_OBJECT
 public:
  PasswordBox(QWidget* parent, const QString& name);

  // QLineEdit's, with the events they raise masked.
  void setText(const QString& text);
  void clear();

 protected:
  // Everything the box does for a key, a paste, an input method or its
  // context menu is done with its events masked.
  bool event(QEvent* event) override;
};

// `event` as assistive technology is to be told it: where it tells the text
// of a box that masks its text (a QLineEdit not in Normal echo mode), a copy
// that carries the mask characters the box shows instead; otherwise null,
// and the event is told as it is.
std::unique_ptr<QAccessibleEvent> maskedEvent(QAccessibleEvent* event);

// While one lives, every accessibility event goes to whatever received them
// before (the platform's bridge, or a handler a test installed) as
// maskedEvent() has it.
class MaskedAccessibilityEvents {
 public:
  MaskedAccessibilityEvents();
  ~MaskedAccessibilityEvents();
  MaskedAccessibilityEvents(const MaskedAccessibilityEvents&) = delete;
  MaskedAccessibilityEvents& operator=(const MaskedAccessibilityEvents&) = delete;

 private:
  void (*previous_)(QAccessibleEvent*);
};

}  // namespace tempodial

// The "Automatic timing" window: whether the clock is started and stopped by
// hand only, or also by the network connection. A choice takes effect and is
// stored at once; where the connection cannot be watched the window says so
// and only "Only by hand" can be chosen.
#pragma once

#include "platform/forms/form.h"

class QRadioButton;

namespace tempodial {

class AutomaticTiming;
class Button;
class Label;

class AutomaticTimingWindow : public Form {
  Q_OBJECT

 public:
  static constexpr const char* kName = "automatic";
  static constexpr int kIndex = 14;

  explicit AutomaticTimingWindow(Runtime& runtime);

  void onLoad() override;
  // Shows the choice in force and what is known of the connection.
  void reflect();

  Label* Label1;          // "Start and stop the clock:"
  QRadioButton* Option1;  // "Only by hand"
  QRadioButton* Option2;  // "While online"
  QRadioButton* Option3;  // "While online on a metered connection"
  Label* Label2;          // the connection now, or why it cannot be followed
  Button* Command1;       // "OK"

 private:
  AutomaticTiming& timing() const;

  bool reflecting_ = false;
};

}  // namespace tempodial

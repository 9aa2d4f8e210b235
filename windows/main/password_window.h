// The password window `vaskpass` (form 6): unlocks the counter and cost boxes.
#pragma once

#include "platform/forms/form.h"

namespace tempodial {

class Button;
class Label;
class PasswordBox;

class PasswordWindow : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "vaskpass";
  static constexpr int kIndex = 6;
  explicit PasswordWindow(Runtime& runtime);
  Label* Label1;
  PasswordBox* Text1;
  Button* Command1;  // "OK"
  Button* Command2;  // "mistake sorry......."

  // "OK": when the text box holds exactly the password, unlocks the seconds,
  // hours, minutes and cost boxes of the main window, hides this window and
  // empties the box. Any other text changes nothing.
  void tryPassword();

 protected:
  void onCloseRequested() override {}
};

}  // namespace tempodial

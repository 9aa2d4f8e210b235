// The button-bar question `buttques` (form 11), asked when the bar is closed.
#pragma once

#include "platform/form.h"

namespace tempodial {

class Button;
class Label;

class ButtonBarQuestion : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "buttques";
  static constexpr int kIndex = 11;
  explicit ButtonBarQuestion(Runtime& runtime);
  Label* Label1;
  Button* Command1;  // "Yes"
  Button* Command2;  // "No"

 protected:
  void onCloseRequested() override {}
};

}  // namespace tempodial

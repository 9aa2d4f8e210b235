// The exit options `quesexit` (form 5): leave with the totals saved or not.
#pragma once

#include "platform/form.h"

class QFrame;

namespace tempodial {

class Button;
class Label;

class ExitWindow : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "quesexit";
  static constexpr int kIndex = 5;
  explicit ExitWindow(Runtime& runtime);
  Button* Command1;  // "Exit && Save"
  Label* Label1;
  Button* Command2;  // "Exit no save"
  Label* Label2;
  QFrame* Line1;

 protected:
  void onCloseRequested() override {}
};

}  // namespace tempodial

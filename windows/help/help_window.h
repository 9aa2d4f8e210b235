// The help and credits window `Helpsf` (form 4).
#pragma once

#include "platform/forms/form.h"

namespace tempodial {

class Button;
class Label;

class HelpWindow : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "Helpsf";
  static constexpr int kIndex = 4;
  explicit HelpWindow(Runtime& runtime);
  Label* Label1;
  Label* Label2;
  Button* Command1;

 protected:
  void onCloseRequested() override {}
};

}  // namespace tempodial

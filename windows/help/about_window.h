// The About window `aboutwex` (form 9).
#pragma once

#include "platform/forms/form.h"

class QLabel;
class QLineEdit;

namespace tempodial {

class Button;

class AboutWindow : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "aboutwex";
  static constexpr int kIndex = 9;
  explicit AboutWindow(Runtime& runtime);
  void onLoad() override;
  QLabel* background;
  Button* Command1;  // "OK"
  QLabel* Picture2;
  QLineEdit* Text1;
};

}  // namespace tempodial

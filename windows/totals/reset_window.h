// The reset confirmation `rusure` (form 3).
#pragma once

#include "platform/forms/form.h"

class QLabel;

namespace tempodial {

class ClockModel;
class Button;

class ResetWindow : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "rusure";
  static constexpr int kIndex = 3;
  ResetWindow(Runtime& runtime, ClockModel& clock);
  void onLoad() override;
  QLabel* picture;
  Button* Command1;  // "00:00:00"
  Button* Command2;  // "Aghh, no"

 protected:
  void onCloseRequested() override {}

 private:
  ClockModel& clock_;
};

}  // namespace tempodial

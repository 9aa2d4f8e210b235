// The exit options `quesexit` (form 5): leave with the totals saved or not.
#pragma once

#include "platform/forms/form.h"

class QFrame;

namespace tempodial {

class ClockModel;
class Button;
class Label;

class ExitWindow : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "quesexit";
  static constexpr int kIndex = 5;
  ExitWindow(Runtime& runtime, ClockModel& clock);
  Button* Command1;  // "Exit && Save"
  Label* Label1;
  Button* Command2;  // "Exit no save"
  Label* Label2;
  QFrame* Line1;

  // "Exit && Save": the totals are saved and the program ends, unless the
  // clock shows 5 seconds or less (then the short-time question is asked) or
  // the save fails (then the user is back at the main window).
  void exitAndSave();

 protected:
  void onCloseRequested() override {}

 private:
  ClockModel& clock_;
};

}  // namespace tempodial

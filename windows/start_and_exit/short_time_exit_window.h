// The short-time exit question `quesexit2` (form 10).
#pragma once

#include "platform/forms/form.h"

namespace tempodial {

class ClockModel;
class Button;
class Label;

class ShortTimeExitWindow : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "quesexit2";
  static constexpr int kIndex = 10;
  ShortTimeExitWindow(Runtime& runtime, ClockModel& clock);
  void onLoad() override;
  Label* Label1;
  Button* Command3;  // "No Save && No Exit"
  Button* Command2;  // "No Save && Exit"
  Button* Command1;  // "Save && Exit"

  // "Save && Exit": saves the totals and closes every window, or, when the
  // save fails, returns to the main window.
  void saveAndExit();

 protected:
  void onCloseRequested() override {}

 private:
  ClockModel& clock_;
};

}  // namespace tempodial

// The question after a run that was cut short: "Restore last session?". It
// says when that run ended, its time and its cost, and puts them back on the
// clock if the user wants them.
#pragma once

#include "platform/forms/form.h"

namespace tempodial {

class Button;
class Label;
struct SessionRow;

class ClockModel;

class RestoreWindow : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "restore";
  static constexpr int kIndex = 12;
  explicit RestoreWindow(Runtime& runtime);

  // Shows what is known of the run.
  void describe(const SessionRow& row);
  bool restoreChosen() const { return restore_; }
  // "&Restore" or "&Discard" was chosen (a close of the window counts as
  // "&Discard").
  bool answered() const { return answered_; }

  Label* Label1;
  Button* Command1;  // "&Restore"
  Button* Command2;  // "&Discard"

 protected:
  // Closing the window is the same as "Discard".
  void onCloseRequested() override {
    answered_ = true;
    hide();
  }

 private:
  bool restore_ = false;
  bool answered_ = false;
};

// At start-up: if the last run of the clock was cut short (a kill, a power
// cut, the end of the desktop session) and nobody was asked about it yet, asks
// whether to put its time and cost back on the clock. Asked once per run: the
// run counts as asked about only once the user has answered, so a program
// killed with the question open asks again at its next start. Never asked
// while the clock runs.
void offerRestore(Runtime& runtime, ClockModel& clock);

}  // namespace tempodial

// The button-bar question `buttques` (form 11), asked when the bar is closed
// with its own close control: should the bar appear at the next start?
#pragma once

#include "platform/forms/form.h"

namespace tempodial {

class Button;
class Label;

class ButtonBarQuestion : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "buttques";
  static constexpr int kIndex = 11;
  explicit ButtonBarQuestion(Runtime& runtime);

  // "Yes": the start-up option stays as it is.
  void answerYes();
  // "No": deletes the data directory's buttshow.opt and goes away. A delete
  // that fails is reported and the question stays for another answer.
  void answerNo();

  Label* Label1;
  Button* Command1;  // "Yes"
  Button* Command2;  // "No"

 protected:
  void onCloseRequested() override {}
};

}  // namespace tempodial

// The button bar `buttonbar` (form 7): one button for each Internet program.
// Closed with its own close control, it asks through `buttques` whether it
// should appear at the next start.
#pragma once

#include "platform/forms/form.h"

namespace tempodial {

class Button3D;

class ButtonBar : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "buttonbar";
  static constexpr int kIndex = 7;
  explicit ButtonBar(Runtime& runtime);
  // The close control's unload: puts the question on screen, not modally.
  void onUnload() override;
  ~ButtonBar() override;
  Button3D* SSCommand5;  // Dial Up networking
  Button3D* SSCommand6;  // Netscape Communicator
  Button3D* SSCommand9;  // Internet Explorer 4
};

}  // namespace tempodial

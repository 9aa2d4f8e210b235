// The window `locations` (form 2): the command lines of the three Internet
// programs, one row each, stored in the data directory.
#pragma once

#include "platform/form.h"

namespace tempodial {

class Button;
class Label;
class RichTextBox;

class LocationsWindow : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "locations";
  static constexpr int kIndex = 2;
  explicit LocationsWindow(Runtime& runtime);
  void onLoad() override;
  // The box of row 1, 2 or 3.
  RichTextBox* box(int row) const;
  Label* label1;
  Label* Label2;
  Label* Label3;
  RichTextBox* RichTextBox1;
  RichTextBox* RichTextBox2;
  RichTextBox* RichTextBox3;
  Button* Command1;  // SET row 1
  Button* Command2;
  Button* Command3;
  Button* Command4;  // REFRESH row 1
  Button* Command5;
  Button* Command6;
};

}  // namespace tempodial

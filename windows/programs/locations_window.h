// The window `locations` (form 2): the command lines of the three Internet
// programs, one row each, stored in the data directory.
#pragma once

#include <string_view>

#include "platform/forms/form.h"

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
  // Reads each present location file into its row's box; a file that is
  // missing or cannot be read leaves that box empty, silently.
  void onLoad() override;
  // The box of row 1, 2 or 3; nullptr for any other row.
  RichTextBox* box(int row) const;
  // The data-directory file of row 1, 2 or 3; empty for any other row.
  static std::string_view locationFile(int row);

  // "REFRESH": reads the row's file into its box; any failure is reported
  // with "error, unable to load file" and leaves the box as it was.
  void refreshRow(int row);
  // "SET": writes the row's box to its file, says so and closes the window.
  // A write that fails is reported and the window stays open.
  void setRow(int row);

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

 protected:
  // Escape closes the window as its title bar's close does: it has no button
  // of its own that closes it.
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tempodial

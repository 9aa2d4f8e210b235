// The Options window `Options` (form 8): tariff and currency choice, the rates
// of the fixed tariffs, two custom tariffs and the two start-up options. Its
// 100 ms timer keeps the rate in use in step with the chosen tariff, ticking
// once after each change that can change it (windows/cost/rate_events.h).
#pragma once

#include <string_view>

#include "platform/forms/form.h"

class QTabWidget;

namespace tempodial {

class Button;
class ClockModel;
class CheckBox;
class ComboBox;
class FormTimer;
class Frame;
class Label;
class RichTextBox;

class OptionsWindow : public Form {
  Q_OBJECT

 public:
  static constexpr const char* kName = "Options";
  static constexpr int kIndex = 8;

  OptionsWindow(Runtime& runtime, ClockModel& clock);

  // The clock whose tariff, rate and currency this window chooses.
  ClockModel& clock() { return clock_; }

  void onLoad() override;

  // The tariff and currency restore of the start-up, into this window.
  void restoreTariffsAndCurrency();

  Button* Command5;  // "Hide Options"
  QTabWidget* SSTab1;
  // "Window Options"
  Frame* Frame3;
  CheckBox* Check1;  // "Start with button bar showing"
  CheckBox* Check2;  // "Start with cost showing"
  // "Customising Cost"
  ComboBox* Combo1;        // tariff name
  RichTextBox* combo1ass;  // rate in use
  Label* Label4;           // minor-unit name (element 0)
  Frame* Frame4;
  Label* Label2;
  RichTextBox* custom1;
  Label* Label1_0;
  RichTextBox* ccost1;
  Label* Label3;
  RichTextBox* custom2;
  Label* Label1_1;
  RichTextBox* ccost2;
  Button* Command2;  // "Save custom entries"
  FormTimer* Timer1;
  RichTextBox* loadbox1;
  RichTextBox* loadbox2;
  // "Specifying Specific Costs"
  Frame* Frame2;
  Label* Label5;
  RichTextBox* RichTextBox1;  // Weekday rate
  Label* Label6;
  RichTextBox* RichTextBox2;  // Weekend rate
  Label* Label7;
  RichTextBox* RichTextBox3;  // "BT: Friends and Family" rate
  Button* Command4;           // "Save these values"
  Button* Command1;           // "Reset Default Values"
  Frame* Frame1;
  ComboBox* Combo2;  // currency
  RichTextBox* lastcurrency;

 protected:
  // The window has no close control: it can only be hidden.
  void onCloseRequested() override {}

 private:
  ClockModel& clock_;
  void buildWindowOptions(QWidget* page);
  void buildCustomisingCost(QWidget* page);
  void buildSpecificCosts(QWidget* page);
  void connectHandlers();

  void saveFixedRates();
  void resetFixedRates();
  void saveCustomEntries();
  void buttonBarOptionClicked();
  void costOptionClicked();
  // Puts the box back to the option that the file's presence records, without
  // running its click steps.
  void showOptionOfFile(CheckBox& box, std::string_view file);
  void tariffChosen();
};

}  // namespace tempodial

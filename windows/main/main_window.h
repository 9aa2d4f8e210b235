// The main window `timer` (form 1): the view of the clock model (the
// counters, the cost so far, the currency and the status panel), and the
// buttons and menus from which every other window is reached. Its boxes show
// the model and hand it what is typed or loaded; no other window reads them.
#pragma once

#include "platform/forms/form.h"
#include "platform/runtime/runtime.h"

class QAction;
class QMenu;
class QMenuBar;

namespace tempodial {

class Button;
class Button3D;
class CheckBox;
class ClockModel;
class ClockSession;
class PlanMeter;
class Frame;
class FormTimer;
class Label;
class Panel3D;
class RichTextBox;

class MainWindow : public Form {
  Q_OBJECT

 public:
  static constexpr const char* kName = kMainWindowName;
  static constexpr int kIndex = 1;

  // Outer heights of the window with the cost area shown or hidden.
  static constexpr int kTallTwips = 4935;
  static constexpr int kTallPopupTwips = 5205;
  static constexpr int kShortTwips = 3000;
  static constexpr int kShortPopupTwips = 3180;

  // Shows and drives `session`'s clock; its `Timer1` is the session's tick.
  MainWindow(Runtime& runtime, ClockSession& session);
  ~MainWindow() override;

  void onLoad() override;

  // The status panel's message.
  void setStatus(const QString& text);

  // Clock: a press of Start/Stop, and one second more (the tick itself is
  // the clock session's).
  void startStop();
  void tick();
  // Opens the reset confirmation window.
  void reset();
  // The caption and button-caption refresh (windows/main/caption_events.h).
  void refreshCaptions();

  // The cost-area pop-up entries and the start-up choice.
  void showNow();
  void hideNow();
  void showOnStartUp();
  void hideOnStartUp();

  void toggleButtonBar(bool windowsDirectory);
  void toggleOptions();
  void openExitOptions();

  // The clock model this window shows, and its tariff plan meter.
  ClockModel& clock() { return clock_; }
  PlanMeter& planMeter();

  // Frame2: the clock.
  Frame* Frame2;
  Label* Label1;
  Label* Label2;
  Label* Label3;
  RichTextBox* RichTextBox3;  // hours
  RichTextBox* RichTextBox2;  // minutes
  RichTextBox* RichTextBox1;  // seconds
  Panel3D* SSPanel1;          // status panel
  CheckBox* Check1;           // "S&how Cost"
  Panel3D* SSPanel2;          // currency name
  // Frame3: the cost area.
  Frame* Frame3;
  Label* Label4;  // currency symbol
  RichTextBox* cost;
  Label* planRate;  // the rate in force, while a tariff plan is in use
  Button3D* SSCommand7;
  Button3D* SSCommand8;
  // Frame1: the clock's buttons.
  Frame* Frame1;
  Button3D* SSCommand1;
  Button3D* SSCommand2;
  Button3D* SSCommand3;
  Button3D* SSCommand4;
  Button* Command1;
  Button* Command2;
  Button* Command3;
  RichTextBox* RichTextBox4;  // hidden: the text of option files and blank TimeLogs
  FormTimer* Timer1;          // the clock session's tick
  FormTimer* Timer5;
  FormTimer* Timer3;

  QMenuBar* menuBar;
  QAction* but;
  QAction* options2;
  QAction* leave;
  QAction* reset_;
  QAction* prev;
  QAction* save;
  QAction* blank;
  QAction* un2;
  QAction* cur;
  QAction* box;
  QAction* un1;
  QAction* s;
  QAction* comm;
  QAction* dial;
  QAction* int4;
  QAction* help1;
  QAction* about;
  QMenu* popup1;
  QAction* pound;
  QAction* frank;
  QAction* Dollar;
  QMenu* Popup2;
  QAction* shownow;
  QAction* hidenow;
  QAction* showstart;
  QAction* hidestart;

 protected:
  void onCloseRequested() override;

 private:
  void buildControls();
  void buildMenus();
  void connectHandlers();
  // The boxes, labels and menu items follow the model; what is typed or
  // loaded into a box goes to the model (windows/main/clock_view.cpp).
  void followClock();
  void showCounters();
  void showRateInForce();
  void costAreaByCheckBox();

  ClockSession& session_;
  ClockModel& clock_;
};

// Brings the main window to the front wherever it waits (another start of
// the program asked); returns true iff it is then in view.
bool bringMainWindowToFront(Runtime& runtime);

}  // namespace tempodial

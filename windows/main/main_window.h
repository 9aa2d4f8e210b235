// The main window `timer` (form 1): the clock, the cost so far, the status
// panel, and the buttons and menus from which every other window is reached.
#pragma once

#include "platform/forms/form.h"
#include "windows/cost/plan_meter.h"
#include "windows/journal/session_recorder.h"

class QAction;
class QMenu;
class QMenuBar;

namespace tempodial {

class Button;
class Button3D;
class CheckBox;
class Frame;
class FormTimer;
class Label;
class Panel3D;
class RichTextBox;
class SleepWatch;

class MainWindow : public Form {
  Q_OBJECT

 public:
  static constexpr const char* kName = "timer";
  static constexpr int kIndex = 1;

  // Outer heights of the window with the cost area shown or hidden.
  static constexpr int kTallTwips = 4935;
  static constexpr int kTallPopupTwips = 5205;
  static constexpr int kShortTwips = 3000;
  static constexpr int kShortPopupTwips = 3180;

  explicit MainWindow(Runtime& runtime);

  void onLoad() override;

  // The status panel's message.
  void setStatus(const QString& text);

  // Clock.
  void startStop();
  // One second more on the clock: the seconds box grows by one and carries.
  void tick();
  // The clock's timer: every whole second of real time since the start that
  // is not yet on the clock is added, one second at a time, so that late or
  // dropped ticks lose nothing.
  void clockTick();
  // The system ends the program: the running session is closed as
  // interrupted, nothing else is saved and no question is asked.
  void endForSystem();
  // Opens the reset confirmation window.
  void reset();
  // The caption and button-caption refresh (windows/main/caption_events.h).
  void refreshCaptions();
  // The journal's record of the runs, with their data volume.
  SessionRecorder& recorder() { return recorder_; }
  const SessionRecorder& recorder() const { return recorder_; }

  // The cost-area pop-up entries and the start-up choice.
  void showNow();
  void hideNow();
  void showOnStartUp();
  void hideOnStartUp();

  void toggleButtonBar(bool windowsDirectory);
  void toggleOptions();
  void openExitOptions();

  // The cost meter of the tariff plans.
  PlanMeter& planMeter() { return planMeter_; }

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
  FormTimer* Timer1;
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
  void onUnload() override;

 private:
  void buildControls();
  void buildMenus();
  void connectHandlers();
  void secondsChanged();
  void minutesChanged();
  void costAreaByCheckBox();
  // Adds seconds until `due` seconds of this run are on the clock.
  void countUpTo(qint64 due);
  // Tells the user how long the computer slept while the clock ran.
  void sleptWhileRunning(qint64 sleptMs);

  PlanMeter planMeter_{*this};
  SessionRecorder recorder_{*this};
  qint64 runStartMs_ = 0;             // monotonic time of the last start
  qint64 runCounted_ = 0;             // seconds the clock has added since then
  SleepWatch* sleepWatch_ = nullptr;  // made at the first start of the clock
};

// Brings the main window to the front wherever it waits (another start of
// the program asked); returns true iff it is then in view.
bool bringMainWindowToFront(Runtime& runtime);

// The system ends the program: a running session is kept as interrupted and
// the program ends without touching its files or asking anything.
void endForSystem(Runtime& runtime);

}  // namespace tempodial

// The program's icon in the desktop's status area: its picture and tool tip
// show whether the clock runs and the time on it, refreshed when the clock
// model changes (no timer of its own); its menu starts and stops the clock,
// shows or hides the main window, and leads to the history, the automatic
// timing and the exit options. A click shows or hides the main window.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace tempodial {

class ClockModel;
class Form;
class Runtime;
class StatusIcon;

class StatusArea : public QObject {
  Q_OBJECT

 public:
  // Requires StatusIcon::available(). Shows `clock` and lives as long as
  // it; shows and hides the main window, building it the first time it is
  // asked for; `openExitOptions` is the program's way out.
  StatusArea(Runtime& runtime, ClockModel& clock, std::function<void()> openExitOptions);
  ~StatusArea() override;

  // Shows the clock's state and time now.
  void refresh();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenu();
  void refreshShowHide();
  void showOrHideMain();
  // Runs `handler` once the menu is closed: what it opens may wait for the user.
  void later(std::function<void()> handler);

  // The main window, if it has been built.
  Form* main() const;
  // Follows the main window's showing, hiding and minimising once it stands.
  void watchMain(Form& form);

  Runtime& runtime_;
  ClockModel& clock_;
  std::function<void()> openExitOptions_;
  std::unique_ptr<QMenu> menu_;
  QAction* startStop_ = nullptr;
  QAction* showHide_ = nullptr;
  std::unique_ptr<StatusIcon> icon_;
};

// "Running 1:5:9, cost £ 0.924" or "Stopped 0:12:40": the clock's state and
// its counters, the bytes of the run, the cost while the cost area is shown,
// the rate in force under a plan, and what is left of its data allowance
// ("; 12.3 of 20 GB left until 15 Jan").
QString statusToolTip(const ClockModel& clock);

// True iff a click on the status icon would hide the main window (it is
// shown and not minimised).
bool mainWindowInView(const Form* main);

}  // namespace tempodial

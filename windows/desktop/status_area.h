// The program's icon in the desktop's status area: its picture and tool tip
// show whether the clock runs and the time on it, refreshed when the clock's
// boxes change (no timer of its own); its menu starts and stops the clock,
// shows or hides the main window, and leads to the history, the automatic
// timing and the exit options. A click shows or hides the main window.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QAction;
class QMenu;

namespace tempodial {

class MainWindow;
class StatusIcon;

class StatusArea : public QObject {
  Q_OBJECT

 public:
  // Requires StatusIcon::available().
  explicit StatusArea(MainWindow& main);
  ~StatusArea() override;

  // Shows the clock's state and time now.
  void refresh();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenu();
  // Refreshes once the clock's boxes have all changed (a carry changes two).
  void refreshSoon();
  void refreshShowHide();
  void showOrHideMain();
  // Runs `handler` once the menu is closed: what it opens may wait for the user.
  void later(void (*handler)(MainWindow&));

  MainWindow& main_;
  std::unique_ptr<QMenu> menu_;
  QAction* startStop_ = nullptr;
  QAction* showHide_ = nullptr;
  std::unique_ptr<StatusIcon> icon_;
  bool refreshPending_ = false;
};

// "Running 1:5:9, cost £ 0.924" or "Stopped 0:12:40": the clock's state and
// its counters, and the cost as the cost area shows it while it is shown.
QString statusToolTip(const MainWindow& main);

// True iff a click on the status icon would hide the main window (it is
// shown and not minimised).
bool mainWindowInView(const MainWindow& main);

}  // namespace tempodial

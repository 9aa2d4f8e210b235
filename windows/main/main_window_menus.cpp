// The main window's menu bar and its two pop-up menus.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "windows/desktop/desktop_extras.h"
#include "windows/history/history_window.h"
#include "windows/main/main_window.h"
#include "windows/plans/plans_window.h"

namespace tempodial {
namespace {

QAction* menuItem(QMenu* menu, const char* name, const QString& caption,
                  const QKeySequence& shortcut = {}) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
  }
  return action;
}

QMenu* subMenu(QWidget* parent, const char* name, const QString& caption) {
  auto* menu = new QMenu(caption, parent);
  menu->setObjectName(QString::fromLatin1(name));
  return menu;
}

}  // namespace

void MainWindow::buildMenus() {
  menuBar = new QMenuBar(this);
  menuBar->setObjectName(QStringLiteral("menuBar"));
  menuBar->setNativeMenuBar(false);
  // The six menus fit the classic window width in the classic menu font size.
  menuBar->setFont(QFont(QStringLiteral("Arial"), 8));
  menuBar->setStyleSheet(QStringLiteral("QMenuBar::item { padding: 2px 5px; }"));

  QMenu* menu = subMenu(this, "menu", QStringLiteral("&Menu"));
  QMenu* view = subMenu(menu, "view", QStringLiteral("&View"));
  but =
      menuItem(view, "but", QStringLiteral("&Button Bar"), QKeySequence(QStringLiteral("Ctrl+B")));
  options2 = menuItem(view, "options2", QStringLiteral("&Options"),
                      QKeySequence(QStringLiteral("Ctrl+O")));
  QAction* login = menuItem(view, "login", QStringLiteral("Start Tempodial at &login"));
  followStartAtLogin(runtime(), view, login);
  menu->addMenu(view);
  QAction* history = menuItem(menu, "history", QStringLiteral("&History..."),
                              QKeySequence(QStringLiteral("Ctrl+H")));
  connect(history, &QAction::triggered, this, [this] { showHistory(runtime()); });
  QAction* plans = menuItem(menu, "plans", QStringLiteral("Tariff &plans..."));
  connect(plans, &QAction::triggered, this, [this] { showPlans(runtime()); });
  QAction* automatic = menuItem(menu, "automatic", QStringLiteral("&Automatic timing..."));
  connect(automatic, &QAction::triggered, this, [this] { openAutomaticTiming(runtime()); });
  menu->addSeparator()->setObjectName(QStringLiteral("gap3"));
  leave = menuItem(menu, "leave", QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+E")));
  menuBar->addMenu(menu);

  QMenu* controls = subMenu(this, "controls", QStringLiteral("&Timer Controls"));
  reset_ = menuItem(controls, "reset", QStringLiteral("&Reset"));
  menuBar->addMenu(controls);

  QMenu* times = subMenu(this, "times", QStringLiteral("T&imeLog Controls"));
  prev = menuItem(times, "prev", QStringLiteral("&Load previous"));
  save = menuItem(times, "save", QStringLiteral("&Save Current"));
  blank = menuItem(times, "blank", QStringLiteral("&Make a blank"));
  times->addSeparator()->setObjectName(QStringLiteral("gap2"));
  un2 = menuItem(times, "un2", QStringLiteral("&Unlock controls"));
  menuBar->addMenu(times);

  QMenu* so = subMenu(this, "so", QStringLiteral("&CostLog Controls"));
  cur = menuItem(so, "cur", QStringLiteral("&Save current log"));
  box = menuItem(so, "box", QStringLiteral("&Load Previous"));
  so->addSeparator()->setObjectName(QStringLiteral("gap1"));
  un1 = menuItem(so, "un1", QStringLiteral("&Unlock boxes"));
  menuBar->addMenu(so);

  QMenu* applications = subMenu(this, "applications", QStringLiteral("&Applications"));
  s = menuItem(applications, "s", QStringLiteral("&Set Locations"));
  QMenu* run = subMenu(applications, "run", QStringLiteral("&Run"));
  comm = menuItem(run, "comm", QStringLiteral("&Netscape Communicator"),
                  QKeySequence(QStringLiteral("Ctrl+N")));
  dial = menuItem(run, "dial", QStringLiteral("&Dial Up networking"),
                  QKeySequence(QStringLiteral("Ctrl+D")));
  int4 = menuItem(run, "int4", QStringLiteral("&Internet Explorer 4"),
                  QKeySequence(QStringLiteral("Ctrl+I")));
  applications->addMenu(run);
  menuBar->addMenu(applications);

  QMenu* helps = subMenu(this, "helps", QStringLiteral("&Help and Notices"));
  help1 = menuItem(helps, "help1", QStringLiteral("&Help"));
  about = menuItem(helps, "about", QStringLiteral("&About"));
  menuBar->addMenu(helps);

  // The two pop-up menus are never on the menu bar.
  popup1 = subMenu(this, "popup1", QStringLiteral("Pop1"));
  pound = menuItem(popup1, "pound", QStringLiteral("£"));
  frank = menuItem(popup1, "frank", QStringLiteral("Fr"));
  Dollar = menuItem(popup1, "Dollar", QStringLiteral("$"));
  Popup2 = subMenu(this, "Popup2", QStringLiteral("Pop2"));
  shownow = menuItem(Popup2, "shownow", QStringLiteral("Show Now"));
  hidenow = menuItem(Popup2, "hidenow", QStringLiteral("Hide Now"));
  showstart = menuItem(Popup2, "showstart", QStringLiteral("Show on start up"));
  hidestart = menuItem(Popup2, "hidestart", QStringLiteral("Hide on start up"));

  setMenuBarWidget(menuBar);
}

}  // namespace tempodial

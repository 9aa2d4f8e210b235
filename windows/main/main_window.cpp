#include "windows/main/main_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "platform/clock/clock_model.h"
#include "platform/clock/plan_meter.h"
#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "platform/forms/twips.h"
#include "platform/session/clock_session.h"
#include "windows/artwork/artwork.h"
#include "windows/cost/cost_meter.h"
#include "windows/cost/options_window.h"
#include "windows/desktop/desktop_extras.h"
#include "windows/help/about_window.h"
#include "windows/help/help_window.h"
#include "windows/main/caption_events.h"
#include "windows/main/password_window.h"
#include "windows/programs/button_bar.h"
#include "windows/programs/launcher.h"
#include "windows/programs/locations_window.h"
#include "windows/start_and_exit/exit_window.h"
#include "windows/start_and_exit/session_start.h"
#include "windows/start_and_exit/splash_window.h"
#include "windows/totals/box_files.h"
#include "windows/totals/cost_log.h"
#include "windows/totals/reset_window.h"
#include "windows/totals/time_log.h"

namespace tempodial {
namespace {

// The designed client area; the window's height changes with the cost area.
constexpr int kClientWidthTwips = 7755;

}  // namespace

MainWindow::MainWindow(Runtime& runtime, ClockSession& session)
    : Form(runtime, QString::fromLatin1(kName), kIndex),
      session_(session),
      clock_(session.clock()) {
  Timer1 = &session.tick();
  setWindowTitle(QStringLiteral("Tempodial"));
  setWindowIcon(artIcon(Art::Application));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(QFont(QStringLiteral("Arial"), 9));
  buildControls();
  buildMenus();
  connectHandlers();
  followClock();
  setSizeTwips(kClientWidthTwips + kFrameWidthTwips, kTallTwips);
  moveTwips(3030, 2730);
}

MainWindow::~MainWindow() = default;

PlanMeter& MainWindow::planMeter() { return clock_.planMeter(); }

void MainWindow::connectHandlers() {
  Runtime& rt = runtime();
  auto onTriggered = [this](QAction* action, auto handler) {
    connect(action, &QAction::triggered, this, handler);
  };
  Timer5->onTick = [this] { refreshCaptions(); };
  followCaptionEvents(*this);
  // It matters only while the splash window is loaded, which arms it again.
  Timer3->setRunsOnce(true);
  Timer3->onTick = [] {
    startcount = 0;
    startcount += 1;
  };
  SSCommand1->onClick = [this] { startStop(); };
  SSCommand2->onClick = [this] { reset(); };
  SSCommand3->onClick = [this] {
    if (saveTimeLog(runtime(), clock_, Place::Data))
      setStatus(QStringLiteral("The TimeLog has been saved"));
  };
  SSCommand4->onClick = [this, &rt] { loadTimeLog(rt, clock_, Place::Data); };
  SSCommand7->onClick = [this, &rt] { saveCostLogButton(rt, clock_); };
  SSCommand8->onClick = [this, &rt] { loadCostLogButton(rt, clock_); };
  Check1->onClick = [this] {
    clock_.setCostShown(Check1->value() == 1);
    costAreaByCheckBox();
  };
  Check1->onMouseDown = [this](Qt::MouseButton button, const QPoint& at) {
    if (button == Qt::RightButton) Popup2->popup(at);
  };
  SSPanel2->onMouseDown = [this](Qt::MouseButton button, const QPoint& at) {
    if (button == Qt::RightButton) popup1->popup(at);
  };
  Command1->onClick = [this] { toggleButtonBar(false); };
  Command2->onClick = [this] { toggleOptions(); };
  Command3->onClick = [this] { openExitOptions(); };

  onTriggered(but, [this] { toggleButtonBar(true); });
  onTriggered(options2, [this] { toggleOptions(); });
  onTriggered(leave, [this] { openExitOptions(); });
  onTriggered(reset_, [this] { reset(); });
  onTriggered(prev, [this, &rt] { loadTimeLog(rt, clock_, Place::Windows); });
  onTriggered(save, [this] {
    if (saveTimeLog(runtime(), clock_, Place::Windows)) {
      setStatus(QStringLiteral("The TimeLog has been saved"));
    }
  });
  onTriggered(blank, [&rt] { blankTimeLog(rt); });
  onTriggered(un2, [&rt] { rt.form<PasswordWindow>().show(); });
  onTriggered(cur, [this, &rt] { saveCostLogMenu(rt, clock_); });
  onTriggered(box, [this, &rt] { loadCostLogMenu(rt, clock_); });
  onTriggered(un1, [&rt] { rt.form<PasswordWindow>().show(); });
  onTriggered(s, [&rt] { rt.showModal(rt.form<LocationsWindow>()); });
  onTriggered(comm, [&rt] { launchProgram(rt, 1); });
  onTriggered(dial, [&rt] { launchProgram(rt, 2); });
  onTriggered(int4, [&rt] { launchProgram(rt, 3); });
  onTriggered(help1, [&rt] {
    rt.showModal(rt.form<HelpWindow>());
    rt.unload(QString::fromLatin1(HelpWindow::kName));
  });
  onTriggered(about, [&rt] { rt.showModal(rt.form<AboutWindow>()); });
  onTriggered(pound, [&rt] { applyCurrencyFromMenu(rt, Currency::Pound); });
  onTriggered(frank, [&rt] { applyCurrencyFromMenu(rt, Currency::Frank); });
  onTriggered(Dollar, [&rt] { applyCurrencyFromMenu(rt, Currency::Dollar); });
  onTriggered(shownow, [this] { showNow(); });
  onTriggered(hidenow, [this] { hideNow(); });
  onTriggered(showstart, [this] { showOnStartUp(); });
  onTriggered(hidestart, [this] { hideOnStartUp(); });
}

void MainWindow::onLoad() {
  Runtime& rt = runtime();
  setStatus(QStringLiteral("Hello, Welcome to the Tempodial"));
  if (fileInPlace(rt, Place::Data, files::kButtShow)) {
    rt.form<ButtonBar>().show();
    rt.form<OptionsWindow>().Check1->setValue(1);
  }
  // Started at login behind the status icon, the session has taken these
  // steps already.
  startSession(rt, session_);
  const bool costAtStartUp = clock_.costShownAtStartUp();
  if (costAtStartUp) {
    Check1->setValue(1);
    showstart->setVisible(false);
    shownow->setVisible(false);
    setHeightTwips(kTallTwips);
  } else {
    Check1->setValue(0);
    setHeightTwips(kShortTwips);
    hidenow->setVisible(false);
    hidestart->setVisible(false);
  }
}

void MainWindow::setStatus(const QString& text) { clock_.say(text); }

void MainWindow::startStop() { clock_.startStop(); }

void MainWindow::tick() { clock_.tick(); }

void MainWindow::reset() { runtime().showModal(runtime().form<ResetWindow>()); }

void MainWindow::refreshCaptions() {
  if (windowState() & Qt::WindowMinimized) {
    setWindowTitle(
        QStringLiteral("W.E.X. %1:%2:%3").arg(clock_.hours(), clock_.minutes(), clock_.seconds()));
  } else if (windowState() == Qt::WindowNoState) {
    setWindowTitle(QStringLiteral("Tempodial"));
  }
  Runtime& rt = runtime();
  // A button bar never loaded is not shown: it is not built just to ask.
  const Form* bar = rt.loadedForm(QString::fromLatin1(ButtonBar::kName));
  const QString barCaption = bar != nullptr && bar->isVisible() ? QStringLiteral("Hide buttonbar")
                                                                : QStringLiteral("Show buttonbar");
  const QString optionsCaption = rt.form<OptionsWindow>().isVisible()
                                     ? QStringLiteral("Hide options")
                                     : QStringLiteral("Show options");
  if (Command1->text() != barCaption) {
    Command1->setText(barCaption);
    Command1->setAccessibleName(barCaption);
  }
  if (Command2->text() != optionsCaption) {
    Command2->setText(optionsCaption);
    Command2->setAccessibleName(optionsCaption);
  }
}

void MainWindow::costAreaByCheckBox() {
  const bool shown = Check1->value() == 1;
  setHeightTwips(shown ? kTallTwips : kShortTwips);
  shownow->setVisible(!shown);
  hidenow->setVisible(shown);
}

void MainWindow::showNow() {
  clock_.setCostShown(true);
  setHeightTwips(kTallPopupTwips);
  shownow->setVisible(false);
  hidenow->setVisible(true);
}

void MainWindow::hideNow() {
  clock_.setCostShown(false);
  setHeightTwips(kShortPopupTwips);
  hidenow->setVisible(false);
  shownow->setVisible(true);
}

void MainWindow::showOnStartUp() {
  if (!saveBox(runtime(), Place::Data, files::kShowCost, *RichTextBox4, kClockBoxFont)) return;
  runtime().form<OptionsWindow>().Check2->setValue(1);
  clock_.setCostShownAtStartUp(true);
}

void MainWindow::hideOnStartUp() {
  if (!deleteInPlace(runtime(), Place::Data, files::kShowCost)) return;
  runtime().form<OptionsWindow>().Check2->setValue(0);
  clock_.setCostShownAtStartUp(false);
}

void MainWindow::toggleButtonBar(bool windowsDirectory) {
  const Place place = windowsDirectory ? Place::Windows : Place::Data;
  auto& bar = runtime().form<ButtonBar>();
  if (bar.isVisible()) {
    deleteInPlace(runtime(), place, files::kButtShow);
    bar.hide();
  } else {
    bar.show();
    saveBox(runtime(), place, files::kButtShow, *RichTextBox4, kClockBoxFont);
  }
}

void MainWindow::toggleOptions() {
  auto& options = runtime().form<OptionsWindow>();
  if (options.isVisible()) {
    options.hide();
  } else {
    options.show();
  }
}

void MainWindow::openExitOptions() { runtime().showModal(runtime().form<ExitWindow>()); }

void MainWindow::onCloseRequested() {
  // A close from the title bar keeps this window and its counters: unloading
  // it would lose the time that "Exit && Save" is about to write. The way out
  // goes through the exit options, as from the Exit button.
  if (Form* bar = runtime().loadedForm(QString::fromLatin1(ButtonBar::kName))) bar->hide();
  openExitOptions();
}

bool bringMainWindowToFront(Runtime& runtime) {
  // Nothing to show while the splash window stands; after it, a session
  // started at login behind the status icon builds the window now.
  if (runtime.isLoaded(QString::fromLatin1(SplashWindow::kName))) return false;
  auto& main = runtime.form<MainWindow>();
  main.bringToFront();
  return main.isVisible();
}

}  // namespace tempodial

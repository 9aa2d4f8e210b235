#include "windows/desktop/status_area.h"

#include <QAction>
#include <QEvent>
#include <QMenu>

#include "core/history/allowance.h"
#include "core/volume/data_volume.h"
#include "platform/clock/clock_model.h"
#include "platform/desktop/status_icon.h"
#include "platform/forms/form.h"
#include "platform/runtime/runtime.h"
#include "windows/artwork/artwork.h"
#include "windows/desktop/desktop_extras.h"
#include "windows/history/history_window.h"

namespace tempodial {

QString statusToolTip(const ClockModel& clock) {
  QString text = clock.running() ? QStringLiteral("Running ") : QStringLiteral("Stopped ");
  text += QStringLiteral("%1:%2:%3").arg(clock.hours(), clock.minutes(), clock.seconds());
  // Bytes received and sent in the running run, or in the last one.
  if (const auto volume = clock.volume()) {
    text += QStringLiteral(", ") + QString::fromStdString(volumeText(volume->total()));
  }
  if (clock.costShown()) {
    text += QStringLiteral(", cost %1 %2").arg(clock.currencySymbol(), clock.cost());
  }
  // The rate in force while a tariff plan is in use ("Off-peak 0.5p/min").
  if (clock.rateInForce().shown) text += QStringLiteral(", ") + clock.rateInForce().caption;
  // What is left of the plan's data allowance, the running run's bytes taken
  // off ("12.3 of 20 GB left until 15 Jan").
  if (const auto& allowance = clock.allowance()) {
    const auto volume = clock.volume();
    const std::int64_t used =
        allowance->recorded + (clock.running() && volume ? volume->total() : 0);
    text += QStringLiteral("; ") +
            QString::fromStdString(allowanceLeftText(used, allowance->bytes, allowance->resets));
  }
  return text;
}

bool mainWindowInView(const Form& main) {
  return main.isVisible() && !(main.windowState() & Qt::WindowMinimized);
}

StatusArea::StatusArea(Form& main, std::function<void()> openExitOptions)
    : QObject(&main),
      main_(main),
      clock_(main.runtime().clock()),
      openExitOptions_(std::move(openExitOptions)) {
  buildMenu();
  icon_ = std::make_unique<StatusIcon>(nullptr, menu_.get());
  connect(icon_.get(), &StatusIcon::clicked, this, &StatusArea::showOrHideMain);
  for (auto changed : {&ClockModel::countersChanged, &ClockModel::costChanged,
                       &ClockModel::currencyChanged, &ClockModel::rateInForceChanged,
                       &ClockModel::volumeChanged, &ClockModel::allowanceChanged}) {
    connect(&clock_, changed, this, &StatusArea::refreshSoon);
  }
  connect(&clock_, &ClockModel::costShownChanged, this, &StatusArea::refreshSoon);
  // A start or stop shows at once.
  connect(&clock_, &ClockModel::runningChanged, this, &StatusArea::refresh);
  main.installEventFilter(this);
  refresh();
}

StatusArea::~StatusArea() {
  // The icon goes first: it shows the menu.
  icon_.reset();
}

void StatusArea::buildMenu() {
  menu_ = std::make_unique<QMenu>();
  menu_->setObjectName(QStringLiteral("statusMenu"));
  startStop_ = menu_->addAction(QStringLiteral("Start/Stop"));
  connect(startStop_, &QAction::triggered, &clock_, &ClockModel::startStop);
  showHide_ = menu_->addAction(QStringLiteral("Hide Tempodial"));
  connect(showHide_, &QAction::triggered, this, &StatusArea::showOrHideMain);
  QAction* history = menu_->addAction(QStringLiteral("History..."));
  connect(history, &QAction::triggered, this,
          [this] { later([this] { showHistory(main_.runtime()); }); });
  QAction* automatic = menu_->addAction(QStringLiteral("Automatic timing..."));
  connect(automatic, &QAction::triggered, this,
          [this] { later([this] { openAutomaticTiming(main_.runtime()); }); });
  menu_->addSeparator();
  QAction* exit = menu_->addAction(QStringLiteral("Exit"));
  connect(exit, &QAction::triggered, this, [this] { later(openExitOptions_); });
  connect(menu_.get(), &QMenu::aboutToShow, this, [this] {
    refreshShowHide();
    refresh();
  });
}

void StatusArea::later(std::function<void()> handler) {
  QMetaObject::invokeMethod(this, std::move(handler), Qt::QueuedConnection);
}

void StatusArea::refresh() {
  refreshPending_ = false;
  const bool running = clock_.running();
  icon_->setPicture(clockStateIcon(running),
                    running ? QStringLiteral("running") : QStringLiteral("stopped"));
  icon_->setToolTip(statusToolTip(clock_));
}

void StatusArea::refreshSoon() {
  if (refreshPending_) return;
  refreshPending_ = true;
  QMetaObject::invokeMethod(this, &StatusArea::refresh, Qt::QueuedConnection);
}

void StatusArea::refreshShowHide() {
  showHide_->setText(mainWindowInView(main_) ? QStringLiteral("Hide Tempodial")
                                             : QStringLiteral("Show Tempodial"));
}

bool StatusArea::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
      refreshShowHide();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

void StatusArea::showOrHideMain() {
  if (mainWindowInView(main_)) {
    main_.hide();
    return;
  }
  main_.bringToFront();
}

}  // namespace tempodial

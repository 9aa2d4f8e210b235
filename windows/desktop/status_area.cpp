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

bool mainWindowInView(const Form* main) {
  return main != nullptr && main->isVisible() && !(main->windowState() & Qt::WindowMinimized);
}

StatusArea::StatusArea(Runtime& runtime, ClockModel& clock, std::function<void()> openExitOptions)
    : QObject(&clock),
      runtime_(runtime),
      clock_(clock),
      openExitOptions_(std::move(openExitOptions)) {
  buildMenu();
  icon_ = std::make_unique<StatusIcon>(nullptr, menu_.get());
  connect(icon_.get(), &StatusIcon::clicked, this, &StatusArea::showOrHideMain);
  connect(&clock_, &ClockModel::changed, this, &StatusArea::refresh);
  // A start or stop shows at once.
  connect(&clock_, &ClockModel::runningChanged, this, &StatusArea::refresh);
  if (Form* main = this->main()) main->installEventFilter(this);
  runtime_.watchVisibility(this, [this](Form& form) { watchMain(form); });
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
  connect(history, &QAction::triggered, this, [this] { later([this] { showHistory(runtime_); }); });
  QAction* automatic = menu_->addAction(QStringLiteral("Automatic timing..."));
  connect(automatic, &QAction::triggered, this,
          [this] { later([this] { openAutomaticTiming(runtime_); }); });
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
  const bool running = clock_.running();
  icon_->setPicture(clockStateIcon(running),
                    running ? QStringLiteral("running") : QStringLiteral("stopped"));
  icon_->setToolTip(statusToolTip(clock_));
}

void StatusArea::refreshShowHide() {
  showHide_->setText(mainWindowInView(main()) ? QStringLiteral("Hide Tempodial")
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

Form* StatusArea::main() const { return runtime_.loadedForm(QString::fromLatin1(kMainWindowName)); }

void StatusArea::watchMain(Form& form) {
  if (&form != main()) return;
  // Installed again, it stays one filter.
  form.removeEventFilter(this);
  form.installEventFilter(this);
  refreshShowHide();
}

void StatusArea::showOrHideMain() {
  if (Form* main = this->main(); mainWindowInView(main)) {
    main->hide();
    return;
  }
  runtime_.form(QString::fromLatin1(kMainWindowName)).bringToFront();
}

}  // namespace tempodial

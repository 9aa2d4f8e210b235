#include "windows/desktop/status_area.h"

#include <QAction>
#include <QEvent>
#include <QMenu>

#include "core/volume/data_volume.h"
#include "platform/desktop/status_icon.h"
#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "windows/artwork/artwork.h"
#include "windows/desktop/desktop_extras.h"
#include "windows/history/history_window.h"
#include "windows/main/main_window.h"

namespace tempodial {

QString statusToolTip(const MainWindow& main) {
  QString text = main.Timer1->enabled() ? QStringLiteral("Running ") : QStringLiteral("Stopped ");
  text += QStringLiteral("%1:%2:%3")
              .arg(main.RichTextBox3->text(), main.RichTextBox2->text(), main.RichTextBox1->text());
  // Bytes received and sent in the running run, or in the last one.
  if (const auto volume = main.recorder().volume()) {
    text += QStringLiteral(", ") + QString::fromStdString(volumeText(volume->total()));
  }
  if (main.Check1->value() == 1) {
    text += QStringLiteral(", cost %1 %2").arg(main.Label4->caption(), main.cost->text());
  }
  // The rate in force while a tariff plan is in use ("Off-peak 0.5p/min").
  if (!main.planRate->isHidden()) text += QStringLiteral(", ") + main.planRate->caption();
  return text;
}

bool mainWindowInView(const MainWindow& main) {
  return main.isVisible() && !(main.windowState() & Qt::WindowMinimized);
}

StatusArea::StatusArea(MainWindow& main) : QObject(&main), main_(main) {
  buildMenu();
  icon_ = std::make_unique<StatusIcon>(nullptr, menu_.get());
  connect(icon_.get(), &StatusIcon::clicked, this, &StatusArea::showOrHideMain);
  for (RichTextBox* box : {main.RichTextBox1, main.RichTextBox2, main.RichTextBox3, main.cost}) {
    connect(box, &QPlainTextEdit::textChanged, this, &StatusArea::refreshSoon);
  }
  connect(main.Check1, &QCheckBox::toggled, this, &StatusArea::refreshSoon);
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
  connect(startStop_, &QAction::triggered, this, [this] { main_.startStop(); });
  showHide_ = menu_->addAction(QStringLiteral("Hide Tempodial"));
  connect(showHide_, &QAction::triggered, this, &StatusArea::showOrHideMain);
  QAction* history = menu_->addAction(QStringLiteral("History..."));
  connect(history, &QAction::triggered, this,
          [this] { later([](MainWindow& main) { showHistory(main.runtime()); }); });
  QAction* automatic = menu_->addAction(QStringLiteral("Automatic timing..."));
  connect(automatic, &QAction::triggered, this,
          [this] { later([](MainWindow& main) { openAutomaticTiming(main.runtime()); }); });
  menu_->addSeparator();
  QAction* exit = menu_->addAction(QStringLiteral("Exit"));
  connect(exit, &QAction::triggered, this,
          [this] { later([](MainWindow& main) { main.openExitOptions(); }); });
  connect(menu_.get(), &QMenu::aboutToShow, this, [this] {
    refreshShowHide();
    refresh();
  });
}

void StatusArea::later(void (*handler)(MainWindow&)) {
  QMetaObject::invokeMethod(
      this, [this, handler] { handler(main_); }, Qt::QueuedConnection);
}

void StatusArea::refresh() {
  refreshPending_ = false;
  const bool running = main_.Timer1->enabled();
  icon_->setPicture(clockStateIcon(running),
                    running ? QStringLiteral("running") : QStringLiteral("stopped"));
  icon_->setToolTip(statusToolTip(main_));
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

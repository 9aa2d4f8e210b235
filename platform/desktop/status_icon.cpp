#include "platform/desktop/status_icon.h"

#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

#include "platform/desktop/status_area_watch.h"

namespace tempodial {

bool StatusIcon::available() { return StatusAreaWatch::present(); }

StatusIcon::StatusIcon(QObject* parent, QMenu* menu)
    : QObject(parent), icon_(std::make_unique<QSystemTrayIcon>()) {
  icon_->setContextMenu(menu);
  connect(icon_.get(), &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            // An XEmbed tray gives a double click as a click and then a
            // double click: the second undoes the first, so that the main
            // window is left as it was.
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
              Q_EMIT clicked();
            }
          });
}

StatusIcon::~StatusIcon() = default;

void StatusIcon::setPicture(const QIcon& icon, const QString& key) {
  if (key == pictureKey_) return;
  pictureKey_ = key;
  icon_->setIcon(icon);
  // Shown once it has a picture: an icon without one is refused.
  if (!icon_->isVisible()) icon_->show();
}

void StatusIcon::setToolTip(const QString& text) {
  if (text == toolTip_) return;
  toolTip_ = text;
  icon_->setToolTip(text);
}

}  // namespace tempodial

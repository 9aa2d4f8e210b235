// The program's icon in the desktop's status area: a StatusNotifierItem on
// the session bus where a watcher is there, else the XEmbed tray (Qt
// chooses). Made only where a status area exists; StatusAreaWatch says when
// one comes later.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QIcon;
class QMenu;
class QSystemTrayIcon;

namespace tempodial {

class StatusIcon : public QObject {
  Q_OBJECT

 public:
  // True iff the desktop has a status area to show an icon in now.
  static bool available();

  // Shows the icon with `menu` (owned by the caller) as its menu. Requires
  // available().
  StatusIcon(QObject* parent, QMenu* menu);
  ~StatusIcon() override;

  // Changes the picture and the tool tip; what is already shown is not sent
  // again.
  void setPicture(const QIcon& icon, const QString& key);
  void setToolTip(const QString& text);
  QString toolTip() const { return toolTip_; }

 Q_SIGNALS:
  // A click with the primary button (or the status area's "activate"); the
  // second click of a double click too.
  void clicked();

 private:
  std::unique_ptr<QSystemTrayIcon> icon_;
  QString pictureKey_;
  QString toolTip_;
};

}  // namespace tempodial

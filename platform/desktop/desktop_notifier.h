// Desktop notifications through org.freedesktop.Notifications on the session
// bus, marked as the program's own (the desktop-entry hint "tempodial"). A
// notice given under the same key as an earlier one takes its place on the
// screen. Where no notification service is there, nothing happens.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

namespace tempodial {

class DesktopNotifier : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  // Sends the notification without waiting for the service's answer; the
  // answer's number is kept under `key`, for the next notice of that key to
  // replace this one.
  void notify(const QString& key, const QString& summary, const QString& body);

 private:
  QHash<QString, quint32> shown_;
};

}  // namespace tempodial

// Whether the desktop has a status area for the program's icon now, and the
// moment one appears: a StatusNotifierWatcher with a host on the session bus,
// or an XEmbed tray (the owner of the X selection _NET_SYSTEM_TRAY_S<screen>).
// Nothing here polls: the bus says when the watcher's name is taken or a host
// registers, and a tray announces itself to the X root window ("MANAGER").
//
// The checks are made without Qt's own tray check: Qt decides once per
// process whether the bus's status area is used, so asking it before a status
// area exists would keep the icon out of one that comes later.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

namespace tempodial {

class StatusAreaWatch : public QObject, public QAbstractNativeEventFilter {
  Q_OBJECT

 public:
  // True iff a status area is there now.
  static bool present();

  // Watches until the first appearance (reported once).
  explicit StatusAreaWatch(QObject* parent);
  ~StatusAreaWatch() override;

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

 Q_SIGNALS:
  // A status area has appeared; the watch has ended.
  void appeared();

 private:
  void watcherRegistered();
  void report();

 private Q_SLOTS:
  // The watcher's StatusNotifierHostRegistered signal.
  void hostRegistered();

 private:
  bool reported_ = false;
  bool filtering_ = false;
  unsigned managerAtom_ = 0;
  unsigned trayAtom_ = 0;
};

}  // namespace tempodial

// tempodial --status --follow [--json]: the status line at once and again at
// each change the running copy sends (PropertiesChanged). The seconds of a
// running clock are not sent by the copy: the follower advances them itself,
// each whole second after the last value it had, by its own monotonic
// clock. When the copy ends it says so and waits for the next copy, which
// it then follows; it ends only when it is killed or the bus goes away.
#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVariantMap>
#include <cstdio>

namespace tempodial {

// The properties `elapsedMs` after they were had: while the clock runs, the
// whole seconds passed are added to Seconds.
QVariantMap advanced(QVariantMap properties, qint64 elapsedMs);
// The line printed while no copy runs: "Not running", or for --json an
// object with an empty text (a panel hides the module).
QByteArray notRunningLine(bool json);

class StatusFollower : public QObject {
  Q_OBJECT

 public:
  StatusFollower(QDBusConnection bus, bool json, std::FILE* out, QObject* parent = nullptr);

  // Prints the first line and starts following.
  void start();

 private Q_SLOTS:
  // The copy's PropertiesChanged.
  void changed(const QString& interface, const QVariantMap& properties,
               const QStringList& invalidated);

 private:
  // Reads every property again (the copy came, or a property was only
  // invalidated); none while no copy runs.
  void readAll();
  // Prints the line for the properties as they stand now, if it differs from
  // the last one printed, and sets the timer for the next second.
  void show();
  void print(const QByteArray& line);

  QDBusConnection bus_;
  bool json_;
  std::FILE* out_;
  QDBusServiceWatcher watcher_;
  QVariantMap properties_;  // as last had from the copy; empty while none runs
  QElapsedTimer since_;     // since they were had
  QTimer nextSecond_;
  QByteArray printed_;
};

}  // namespace tempodial

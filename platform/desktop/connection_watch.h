// The network connection as NetworkManager reports it on the system bus: its
// global state and whether the connection is metered, read once and then
// followed through its property changes. Optional: where NetworkManager
// cannot be reached, available() is false and nothing is said.
#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace tempodial {

class ConnectionWatch : public QObject {
  Q_OBJECT

 public:
  explicit ConnectionWatch(QObject* parent = nullptr);

  // Returns true iff the connection can be watched. The first call that finds
  // NetworkManager starts the watch; later calls try again while it is not.
  bool available();

  // Online means reachable beyond the local network. Metered means
  // NetworkManager calls the connection metered (for sure or by guess).
  // Both false while the watch is not available.
  bool online() const;
  bool metered() const;

 Q_SIGNALS:
  // The connection went up or down, or became metered or not.
  void changed();

 private Q_SLOTS:
  void propertiesChanged(const QString& interface, const QVariantMap& values,
                         const QStringList& invalidated);

 private:
  // Reads the state and the metered value afresh; false when NetworkManager
  // does not answer.
  bool readAll();
  // Takes the values given, and says so when what the clock follows changed.
  void take(const QVariantMap& values);

  bool watching_ = false;
  uint state_ = 0;
  uint metered_ = 0;
};

}  // namespace tempodial

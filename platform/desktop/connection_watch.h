// The network connection as NetworkManager reports it on the system bus,
// through Qt's network information (its NetworkManager backend). Optional:
// where NetworkManager cannot be reached, available() is false and nothing
// is said.
#pragma once

#include <QObject>

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

 private:
  bool connected_ = false;
};

}  // namespace tempodial

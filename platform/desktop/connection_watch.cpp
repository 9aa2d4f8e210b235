#include "platform/desktop/connection_watch.h"

#include <QNetworkInformation>

namespace tempodial {

ConnectionWatch::ConnectionWatch(QObject* parent) : QObject(parent) {}

bool ConnectionWatch::available() {
  if (connected_) return true;
  // Only the NetworkManager backend: the others tell nothing of metered
  // connections, and a guess is not what the clock should follow.
  if (QNetworkInformation::instance() == nullptr &&
      !QNetworkInformation::loadBackendByName(u"networkmanager")) {
    return false;
  }
  QNetworkInformation* information = QNetworkInformation::instance();
  if (information == nullptr || information->backendName() != u"networkmanager") return false;
  connect(information, &QNetworkInformation::reachabilityChanged, this, &ConnectionWatch::changed);
  connect(information, &QNetworkInformation::isMeteredChanged, this, &ConnectionWatch::changed);
  connected_ = true;
  return true;
}

bool ConnectionWatch::online() const {
  return connected_ && QNetworkInformation::instance()->reachability() ==
                           QNetworkInformation::Reachability::Online;
}

bool ConnectionWatch::metered() const {
  return connected_ && QNetworkInformation::instance()->isMetered();
}

}  // namespace tempodial

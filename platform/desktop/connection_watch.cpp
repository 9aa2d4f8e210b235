#include "platform/desktop/connection_watch.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>

namespace tempodial {
namespace {

const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// NetworkManager's NM_STATE_CONNECTED_GLOBAL, and its NM_METERED_YES and
// NM_METERED_GUESS_YES.
constexpr uint kConnectedGlobal = 70;
constexpr uint kMeteredYes = 1, kMeteredGuessYes = 3;

}  // namespace

ConnectionWatch::ConnectionWatch(QObject* parent) : QObject(parent) {}

bool ConnectionWatch::available() {
  if (watching_) return true;
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) return false;
  // Followed before the first read, so that no change falls between them.
  bus.connect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"), this,
              SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
  if (!readAll()) {
    bus.disconnect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                   SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    return false;
  }
  // A NetworkManager started again is read afresh.
  auto* restarts =
      new QDBusServiceWatcher(kService, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
  connect(restarts, &QDBusServiceWatcher::serviceOwnerChanged, this,
          [this](const QString&, const QString&, const QString& owner) {
            if (owner.isEmpty()) {
              take({{QStringLiteral("State"), 0u}});
            } else {
              readAll();
            }
          });
  watching_ = true;
  return true;
}

bool ConnectionWatch::readAll() {
  QDBusMessage call =
      QDBusMessage::createMethodCall(kService, kPath, kProperties, QStringLiteral("GetAll"));
  call << kService;
  // Asking must not start a NetworkManager that is not running.
  call.setAutoStartService(false);
  const QDBusMessage reply = QDBusConnection::systemBus().call(call, QDBus::Block, 2000);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
  take(qdbus_cast<QVariantMap>(reply.arguments().constFirst()));
  return true;
}

void ConnectionWatch::propertiesChanged(const QString& interface, const QVariantMap& values,
                                        const QStringList&) {
  if (interface == kService) take(values);
}

void ConnectionWatch::take(const QVariantMap& values) {
  const bool wasOnline = online(), wasMetered = metered();
  if (auto state = values.find(QStringLiteral("State")); state != values.end()) {
    state_ = state->toUInt();
  }
  if (auto metered = values.find(QStringLiteral("Metered")); metered != values.end()) {
    metered_ = metered->toUInt();
  }
  if (watching_ && (online() != wasOnline || metered() != wasMetered)) Q_EMIT changed();
}

bool ConnectionWatch::online() const { return watching_ && state_ == kConnectedGlobal; }

bool ConnectionWatch::metered() const {
  return watching_ && (metered_ == kMeteredYes || metered_ == kMeteredGuessYes);
}

}  // namespace tempodial

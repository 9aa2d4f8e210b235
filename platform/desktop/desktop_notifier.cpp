#include "platform/desktop/desktop_notifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace tempodial {

void notifyDesktop(const QString& summary, const QString& body) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  call << QStringLiteral("Tempodial") << 0u << QStringLiteral("tempodial") << summary << body
       << QStringList() << QVariantMap() << -1;
  // No answer is awaited: the clock's tick must not wait on the bus, and a
  // missing service only leaves an error reply that nobody reads.
  bus.send(call);
}

}  // namespace tempodial

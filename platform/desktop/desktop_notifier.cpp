#include "platform/desktop/desktop_notifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace tempodial {

void DesktopNotifier::notify(const QString& key, const QString& summary, const QString& body) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("tempodial")}};
  call << QStringLiteral("Tempodial") << shown_.value(key, 0u) << QStringLiteral("tempodial")
       << summary << body << QStringList() << hints << -1;
  // The clock's tick does not wait for the answer; a missing service only
  // leaves an error reply, and nothing to replace.
  auto* answer = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
  connect(answer, &QDBusPendingCallWatcher::finished, this,
          [this, key](QDBusPendingCallWatcher* reply) {
            reply->deleteLater();
            const QDBusPendingReply<quint32> id = *reply;
            if (id.isValid()) shown_.insert(key, id.value());
          });
}

}  // namespace tempodial

#include "platform/control/status_follower.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QJsonDocument>
#include <QJsonObject>

#include "clock_proxy.h"
#include "platform/control/clock_control.h"
#include "platform/control/control_verbs.h"

namespace tempodial {

namespace {

const QString kSeconds = QStringLiteral("Seconds");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

}  // namespace

QVariantMap advanced(QVariantMap properties, qint64 elapsedMs) {
  if (properties.value(QStringLiteral("Running")).toBool() && elapsedMs >= 1000) {
    properties.insert(kSeconds, properties.value(kSeconds).toLongLong() + elapsedMs / 1000);
  }
  return properties;
}

QByteArray notRunningLine(bool json) {
  if (!json) return QByteArrayLiteral("Not running");
  const QJsonObject object{
      {QStringLiteral("text"), QString()},
      {QStringLiteral("tooltip"), QStringLiteral("Tempodial is not running")},
      {QStringLiteral("class"), QStringLiteral("not-running")},
      {QStringLiteral("running"), false},
  };
  return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

StatusFollower::StatusFollower(QDBusConnection bus, bool json, std::FILE* out, QObject* parent)
    : QObject(parent),
      bus_(std::move(bus)),
      json_(json),
      out_(out),
      watcher_(
          QString::fromLatin1(control::kService), bus_,
          QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration) {
  nextSecond_.setSingleShot(true);
  nextSecond_.setTimerType(Qt::PreciseTimer);
  connect(&nextSecond_, &QTimer::timeout, this, &StatusFollower::show);
  connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this, &StatusFollower::readAll);
  connect(&watcher_, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
    properties_.clear();
    show();
  });
}

void StatusFollower::start() {
  bus_.connect(QString::fromLatin1(control::kService), QString::fromLatin1(control::kPath),
               kProperties, QStringLiteral("PropertiesChanged"), this,
               SLOT(changed(QString, QVariantMap, QStringList)));
  readAll();
}

void StatusFollower::readAll() {
  QDBusMessage getAll = QDBusMessage::createMethodCall(QString::fromLatin1(control::kService),
                                                       QString::fromLatin1(control::kPath),
                                                       kProperties, QStringLiteral("GetAll"));
  getAll << QString::fromLatin1(ClockProxy::staticInterfaceName());
  const QDBusReply<QVariantMap> reply = bus_.call(getAll);
  properties_ = reply.isValid() ? reply.value() : QVariantMap();
  since_.start();
  show();
}

void StatusFollower::changed(const QString& interface, const QVariantMap& properties,
                             const QStringList& invalidated) {
  if (interface != QLatin1String(ClockProxy::staticInterfaceName())) return;
  // Each signal carries the seconds as they stand, to count on from; one
  // that does not, or says a value only changed, is read in full.
  if (properties_.isEmpty() || !properties.contains(kSeconds) || !invalidated.isEmpty()) {
    readAll();
    return;
  }
  properties_.insert(properties);
  since_.start();
  show();
}

void StatusFollower::show() {
  nextSecond_.stop();
  if (properties_.isEmpty()) {
    print(notRunningLine(json_));
    return;
  }
  const qint64 elapsed = since_.elapsed();
  const QVariantMap now = advanced(properties_, elapsed);
  print(json_ ? statusJson(now) : statusLine(now).toUtf8());
  // A running clock's line changes with the next whole second; a stopped
  // one's only with the next signal.
  if (now.value(QStringLiteral("Running")).toBool()) nextSecond_.start(1000 - elapsed % 1000);
}

void StatusFollower::print(const QByteArray& line) {
  if (line == printed_) return;
  printed_ = line;
  std::fprintf(out_, "%s\n", line.constData());
  std::fflush(out_);
}

}  // namespace tempodial

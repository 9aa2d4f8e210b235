#include "platform/desktop/interface_counters.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <optional>

namespace tempodial {
namespace {

// The kernel's IFF_LOOPBACK in an interface's flags.
constexpr unsigned kLoopback = 0x8;

// A small file of the proc or sys folders; empty when it cannot be read.
QByteArray readSmall(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.read(1 << 20);
}

std::optional<qulonglong> readNumber(const QString& path, int base = 10) {
  bool ok = false;
  const qulonglong value = readSmall(path).trimmed().toULongLong(&ok, base);
  return ok ? std::optional(value) : std::nullopt;
}

}  // namespace

std::vector<InterfaceReading> readInterfaceCounters(const QString& root) {
  const QDir base(root);
  const std::vector<std::string> routed = defaultRouteInterfaces(
      readSmall(base.filePath(QStringLiteral("proc/net/route"))).toStdString(),
      readSmall(base.filePath(QStringLiteral("proc/net/ipv6_route"))).toStdString());
  const QDir net(base.filePath(QStringLiteral("sys/class/net")));
  std::vector<InterfaceReading> readings;
  for (const QString& name : net.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
    const QDir interface(net.filePath(name));
    const auto flags = readNumber(interface.filePath(QStringLiteral("flags")), 16);
    if (name == QLatin1String("lo") || (flags && (*flags & kLoopback))) continue;
    const auto received = readNumber(interface.filePath(QStringLiteral("statistics/rx_bytes")));
    const auto sent = readNumber(interface.filePath(QStringLiteral("statistics/tx_bytes")));
    InterfaceReading reading;
    reading.name = name.toStdString();
    reading.index =
        static_cast<qint64>(readNumber(interface.filePath(QStringLiteral("ifindex"))).value_or(0));
    reading.known = received && sent;
    reading.received = received.value_or(0);
    reading.sent = sent.value_or(0);
    const auto type = readNumber(interface.filePath(QStringLiteral("type")));
    reading.tunnel = isTunnel({}, static_cast<unsigned>(type.value_or(0)));
    reading.carriesDefault = std::find(routed.begin(), routed.end(), reading.name) != routed.end();
    readings.push_back(std::move(reading));
  }
  return readings;
}

}  // namespace tempodial

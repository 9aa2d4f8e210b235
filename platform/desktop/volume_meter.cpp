#include "platform/desktop/volume_meter.h"

#include <QSettings>
#include <algorithm>
#include <utility>

#include "platform/desktop/interface_counters.h"
#include "platform/files/settings_file.h"

namespace tempodial {

QStringList pinnedInterfaces() {
  const QSettings settings(settingsPath(), QSettings::IniFormat);
  QStringList names;
  // QSettings gives "a, b" as a list and "a" as one text.
  for (const QString& name : settings.value(QStringLiteral("Volume/interfaces")).toStringList()) {
    for (const QString& part : name.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      if (!part.trimmed().isEmpty()) names.append(part.trimmed());
    }
  }
  return names;
}

std::optional<std::vector<InterfaceReading>> VolumeMeter::readNow() const {
  if (netlink_) return dumpLinks();
  return readInterfaceCounters(root_);
}

void VolumeMeter::start() {
  std::vector<std::string> pinned;
  for (const QString& name : pinnedInterfaces()) pinned.push_back(name.toStdString());
  counter_.pin(std::move(pinned));
  netlink_ = false;
  baseline_ = false;
  if (root_ == QLatin1String("/")) {
    watch_.changed = [this](const InterfaceReading& link) { follow(link, false); };
    watch_.gone = [this](const InterfaceReading& link) { follow(link, true); };
    // A reading at each default route that comes or goes, so that a link
    // routed and gone between two of the recorder's readings is counted.
    watch_.routesChanged = [this] { follow({}, false); };
    // The watch opens before the baselines are taken, so that no change
    // falls between them.
    netlink_ = watch_.open();
  }
  counter_.start({});
  read();
}

void VolumeMeter::read() {
  if (std::exchange(reading_, true)) return;
  // The changes told before the dump count from the last reading on.
  watch_.drain();
  if (const auto now = readNow()) take(*now);
  reading_ = false;
}

void VolumeMeter::take(const std::vector<InterfaceReading>& now) {
  // Changes told while the kernel dumped may be older than the dump: a link
  // the dump no longer holds went before it; a change whose counters are
  // not above the dump's is older, or adds nothing.
  const LinkMessages late = watch_.take();
  const auto in = [&now](const InterfaceReading& link) {
    return std::find_if(now.begin(), now.end(), [&link](const InterfaceReading& other) {
      return other.index == link.index;
    });
  };
  for (const InterfaceReading& link : late.gone) {
    if (in(link) == now.end()) counter_.gone(link);
  }
  // Without a first reading the next good one is the baseline: taking none
  // as 0 would count every link's whole life.
  baseline_ ? counter_.read(now) : counter_.start(now);
  baseline_ = true;
  for (const InterfaceReading& link : late.links) {
    const auto dumped = in(link);
    if (dumped == now.end() || link.received > dumped->received || link.sent > dumped->sent) {
      counter_.changed(link);
    }
  }
  for (const InterfaceReading& link : late.gone) {
    if (in(link) != now.end()) counter_.gone(link);
  }
}

void VolumeMeter::stop() {
  read();
  watch_.close();
}

void VolumeMeter::follow(const InterfaceReading& link, bool gone) {
  const DataVolume before = counter_.volume();
  if (link.index == 0) {
    read();
  } else {
    gone ? counter_.gone(link) : counter_.changed(link);
  }
  const DataVolume& after = counter_.volume();
  if ((after.received != before.received || after.sent != before.sent) && changedBetweenReadings) {
    changedBetweenReadings();
  }
}

QString VolumeMeter::tunnelsOnlyText() const {
  if (counter_.tunnelsOnly().empty()) return {};
  QStringList names;
  for (const std::string& name : counter_.tunnelsOnly()) names.append(QString::fromStdString(name));
  return QStringLiteral(
             "Only tunnels (%1) carry a default route, so the data is counted on them: the link "
             "they go over cannot be told, and its own traffic is not counted. To count another "
             "interface, name it in interfaces= in the [Volume] section of %2.")
      .arg(names.join(QStringLiteral(", ")), settingsPath());
}

}  // namespace tempodial

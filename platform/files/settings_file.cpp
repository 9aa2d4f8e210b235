#include "platform/files/settings_file.h"

#include <QSettings>
#include <QStandardPaths>
#include <cmath>

#include "core/values/number_text.h"

namespace tempodial {
namespace {

int generation = 0;

QString key(const char* group, LimitKind kind) {
  return QString::fromLatin1(group) + QLatin1Char('/') + QString::fromStdString(limitKey(kind));
}

std::optional<double> number(const QSettings& settings, LimitKind kind) {
  const QString text = settings.value(key("Limits", kind)).toString().trimmed();
  if (text.isEmpty()) return std::nullopt;
  const double value = readNumber(text.toStdString());
  if (!(value > 0)) return std::nullopt;
  return value;
}

}  // namespace

QString settingsPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/tempodial/tempodial.conf");
}

Limits loadLimits() {
  const QSettings settings(settingsPath(), QSettings::IniFormat);
  Limits limits;
  if (auto seconds = number(settings, LimitKind::DayTime)) {
    limits.dayTime = static_cast<std::int64_t>(*seconds);
  }
  if (auto seconds = number(settings, LimitKind::MonthTime)) {
    limits.monthTime = static_cast<std::int64_t>(*seconds);
  }
  limits.dayCost = number(settings, LimitKind::DayCost);
  limits.monthCost = number(settings, LimitKind::MonthCost);
  // Data limits are kept in MB of 1,000,000 bytes.
  auto bytes = [&settings](LimitKind kind) -> std::optional<std::int64_t> {
    const auto megabytes = number(settings, kind);
    if (!megabytes || *megabytes >= 9e12) return std::nullopt;
    return std::llround(*megabytes * 1e6);
  };
  limits.dayData = bytes(LimitKind::DayData);
  limits.monthData = bytes(LimitKind::MonthData);
  return limits;
}

void saveLimits(const Limits& limits) {
  QSettings settings(settingsPath(), QSettings::IniFormat);
  auto put = [&settings](LimitKind kind, std::optional<double> value) {
    if (value) {
      settings.setValue(key("Limits", kind), QString::fromStdString(writeNumber(*value)));
    } else {
      settings.remove(key("Limits", kind));
    }
  };
  auto seconds = [](std::optional<std::int64_t> value) -> std::optional<double> {
    if (!value) return std::nullopt;
    return static_cast<double>(*value);
  };
  put(LimitKind::DayTime, seconds(limits.dayTime));
  put(LimitKind::MonthTime, seconds(limits.monthTime));
  put(LimitKind::DayCost, limits.dayCost);
  put(LimitKind::MonthCost, limits.monthCost);
  auto megabytes = [](std::optional<std::int64_t> value) -> std::optional<double> {
    if (!value) return std::nullopt;
    return static_cast<double>(*value) / 1e6;
  };
  put(LimitKind::DayData, megabytes(limits.dayData));
  put(LimitKind::MonthData, megabytes(limits.monthData));
  settings.sync();
  ++generation;
}

int limitsGeneration() { return generation; }

void loadGivenWarnings(LimitWatch& watch) {
  const QSettings settings(settingsPath(), QSettings::IniFormat);
  for (LimitKind kind : kLimitKinds) {
    // "2026-12-07 80": the period and the highest mark warned of.
    const QStringList given =
        settings.value(key("Warnings", kind)).toString().split(QLatin1Char(' '));
    if (given.size() != 2) continue;
    watch.setGiven(kind, {given[0].toStdString(), given[1].toInt()});
  }
}

void saveGivenWarnings(const LimitWatch& watch) {
  QSettings settings(settingsPath(), QSettings::IniFormat);
  for (LimitKind kind : kLimitKinds) {
    const LimitWatch::Given& given = watch.given(kind);
    if (given.period.empty()) continue;
    settings.setValue(key("Warnings", kind), QString::fromStdString(given.period) +
                                                 QLatin1Char(' ') + QString::number(given.percent));
  }
}

}  // namespace tempodial

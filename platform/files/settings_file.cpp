#include "platform/files/settings_file.h"

#include <QSettings>
#include <QStandardPaths>
#include <cmath>

#include "core/history/limit_setting.h"
#include "core/history/period.h"
#include "core/values/number_text.h"

namespace tempodial {
namespace {

int generation = 0;

QString key(const char* group, LimitKind kind) {
  return QString::fromLatin1(group) + QLatin1Char('/') + QString::fromStdString(limitKey(kind));
}

// A value too long to read is named by its start: a message of millions of
// characters would hold up the window that shows it.
QString shownValue(const QString& text) {
  constexpr int kShown = 40;
  return text.size() <= kShown
             ? text
             : QStringLiteral("%1... (%2 characters)").arg(text.left(kShown)).arg(text.size());
}

// A value as typed; a comma splits an INI value into a list, so the text is
// put back together.
QString valueText(const QSettings& settings, const QString& key) {
  const QVariant value = settings.value(key);
  return (value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(','))
                                                   : value.toString())
      .trimmed();
}

const QString kBillingDay = QStringLiteral("Billing/day");
const QString kAllowanceWarning = QStringLiteral("Warnings/allowance");

// "2026-12-07 80": the period and the highest mark warned of.
LimitWatch::Given givenOf(const QSettings& settings, const QString& key) {
  const QStringList given = settings.value(key).toString().split(QLatin1Char(' '));
  if (given.size() != 2) return {};
  return {given[0].toStdString(), given[1].toInt()};
}

QString givenText(const LimitWatch::Given& given) {
  return QString::fromStdString(given.period) + QLatin1Char(' ') + QString::number(given.percent);
}

// The limit the settings hold for `kind`; a value that is no sound limit is
// left out and noted in `ignored` as "key=value".
std::optional<double> number(const QSettings& settings, LimitKind kind, QStringList* ignored) {
  const QString text = valueText(settings, key("Limits", kind));
  const LimitSetting setting = readLimitSetting(kind, text.toStdString());
  if (setting.state == LimitSetting::State::Ignored && ignored != nullptr) {
    *ignored << QString::fromStdString(limitKey(kind)) + QLatin1Char('=') + shownValue(text);
  }
  if (setting.state != LimitSetting::State::Limit) return std::nullopt;
  return setting.value;
}

}  // namespace

QString storedTimingChoice() {
  return QSettings(settingsPath(), QSettings::IniFormat)
      .value(QStringLiteral("timing/automatic"))
      .toString();
}

bool storeTimingChoice(const QString& key) {
  QSettings settings(settingsPath(), QSettings::IniFormat);
  settings.setValue(QStringLiteral("timing/automatic"), key);
  settings.sync();
  return settings.status() == QSettings::NoError;
}

QString settingsPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/tempodial/tempodial.conf");
}

Limits loadLimits(QStringList* ignored) {
  const QSettings settings(settingsPath(), QSettings::IniFormat);
  Limits limits;
  if (auto seconds = number(settings, LimitKind::DayTime, ignored)) {
    limits.dayTime = static_cast<std::int64_t>(*seconds);
  }
  limits.dayCost = number(settings, LimitKind::DayCost, ignored);
  if (auto seconds = number(settings, LimitKind::MonthTime, ignored)) {
    limits.monthTime = static_cast<std::int64_t>(*seconds);
  }
  limits.monthCost = number(settings, LimitKind::MonthCost, ignored);
  // Data limits are kept in MB of 1,000,000 bytes.
  auto bytes = [&settings, ignored](LimitKind kind) -> std::optional<std::int64_t> {
    const auto megabytes = number(settings, kind, ignored);
    if (!megabytes) return std::nullopt;
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

int loadBillingDay(QStringList* ignored) {
  const QSettings settings(settingsPath(), QSettings::IniFormat);
  if (!settings.contains(kBillingDay)) return 1;
  const QString text = valueText(settings, kBillingDay);
  const std::optional<int> day = readBillingDay(text.toStdString());
  if (!day && ignored != nullptr) *ignored << QStringLiteral("day=") + shownValue(text);
  return day.value_or(1);
}

Status saveBillingDay(int day) {
  QSettings settings(settingsPath(), QSettings::IniFormat);
  settings.setValue(kBillingDay, soundBillingDay(day));
  settings.sync();
  ++generation;
  if (settings.status() != QSettings::NoError) {
    return Status::Error(QStringLiteral("%1 cannot be written").arg(settingsPath()).toStdString());
  }
  return Status::Ok();
}

LimitWatch::Given loadGivenAllowanceWarning() {
  return givenOf(QSettings(settingsPath(), QSettings::IniFormat), kAllowanceWarning);
}

void saveGivenAllowanceWarning(const LimitWatch::Given& given) {
  if (given.period.empty()) return;
  QSettings(settingsPath(), QSettings::IniFormat).setValue(kAllowanceWarning, givenText(given));
}

void loadGivenWarnings(LimitWatch& watch) {
  const QSettings settings(settingsPath(), QSettings::IniFormat);
  for (LimitKind kind : kLimitKinds) {
    const LimitWatch::Given given = givenOf(settings, key("Warnings", kind));
    if (given.period.empty()) continue;
    watch.setGiven(kind, given);
  }
}

void saveGivenWarnings(const LimitWatch& watch) {
  QSettings settings(settingsPath(), QSettings::IniFormat);
  for (LimitKind kind : kLimitKinds) {
    const LimitWatch::Given& given = watch.given(kind);
    if (given.period.empty()) continue;
    settings.setValue(key("Warnings", kind), givenText(given));
  }
}

}  // namespace tempodial

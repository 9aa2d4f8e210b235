#include "platform/session/limit_warnings.h"

#include <QTimer>

#include "core/history/limit_setting.h"
#include "core/volume/data_volume.h"
#include "platform/clock/clock_model.h"
#include "platform/files/settings_file.h"
#include "platform/journal/history_store.h"
#include "platform/runtime/runtime.h"

namespace tempodial {
namespace {

// "Used 0:48:00 of 1:00:00": what the limit's period has used, and the limit.
QString figures(LimitKind kind, const Usage& usage, const Limits& limits, const QString& currency) {
  std::string used, limit;
  const std::string symbol = currency.toStdString();
  switch (kind) {
    case LimitKind::DayTime:
      used = durationText(usage.daySeconds);
      limit = durationText(limits.dayTime.value_or(0));
      break;
    case LimitKind::MonthTime:
      used = durationText(usage.monthSeconds);
      limit = durationText(limits.monthTime.value_or(0));
      break;
    case LimitKind::DayCost:
      used = amountText(symbol, usage.dayCost);
      limit = amountText(symbol, Amount::fromDouble(limits.dayCost.value_or(0)));
      break;
    case LimitKind::MonthCost:
      used = amountText(symbol, usage.monthCost);
      limit = amountText(symbol, Amount::fromDouble(limits.monthCost.value_or(0)));
      break;
    case LimitKind::DayData:
      used = volumeText(usage.dayBytes);
      limit = volumeText(limits.dayData.value_or(0));
      break;
    case LimitKind::MonthData:
      used = volumeText(usage.monthBytes);
      limit = volumeText(limits.monthData.value_or(0));
      break;
  }
  return QStringLiteral("Used %1 of %2")
      .arg(QString::fromStdString(used), QString::fromStdString(limit));
}

}  // namespace

void reportIgnoredLimits(Runtime& runtime) {
  QStringList ignored;
  loadLimits(&ignored);
  for (const QString& setting : ignored) {
    if (!runtime.firstTime(QStringLiteral("ignored limit ") + setting)) continue;
    const bool time = setting.startsWith(QLatin1String("dayTime=")) ||
                      setting.startsWith(QLatin1String("monthTime="));
    const bool data = setting.startsWith(QLatin1String("dayData=")) ||
                      setting.startsWith(QLatin1String("monthData="));
    const QString rule =
        time ? QStringLiteral("a time limit is a whole number of seconds from 1 to %1")
                   .arg(kMostLimitSeconds)
             : QStringLiteral(
                   "a %1 limit is an amount above 0 and up to %2, with at most two "
                   "decimals")
                   .arg(data ? QStringLiteral("data (MB)") : QStringLiteral("cost"))
                   .arg(kMostLimitAmount);
    const QString text =
        QStringLiteral("The limit %1 in the [Limits] section of %2 is ignored: %3.")
            .arg(setting, settingsPath(), rule);
    // Not from inside the clock's tick: the message waits for the user.
    if (runtime.isLoaded(QString::fromLatin1(kMainWindowName))) {
      QTimer::singleShot(0, &runtime.clock(), [&runtime, text] { runtime.message(text); });
    } else {
      runtime.message(text);
    }
  }
}

void LimitWarnings::started(qint64 row, const QDateTime& start, const QString& cost) {
  row_ = row;
  // The run counts on the day it started, however long it goes on.
  day_ = localDate(start.toSecsSinceEpoch(), start.offsetFromUtc());
  costStart_ = cost.toStdString();
  haveRecorded_ = false;
  generation_ = -1;
}

void LimitWarnings::readRecorded(Runtime& runtime, const QString& currency) {
  haveRecorded_ = true;
  recordedCurrency_ = currency;
  recorded_ = Usage{};
  recorded_.day = dateText(day_);
  recorded_.month = recorded_.day.substr(0, 7);
  SessionJournal& journal = runtime.journal();
  if (!journal.isOpen()) return;
  const HistoryStore store(journal.database());
  auto usage = store.usage(day_, currency, row_);
  if (usage.ok()) recorded_ = usage.value();
}

QList<LimitNotice> LimitWarnings::counted(Runtime& runtime, qint64 seconds, qint64 bytes,
                                          const QString& cost, const QString& currency) {
  if (generation_ != limitsGeneration()) {
    generation_ = limitsGeneration();
    limits_ = loadLimits();
    reportIgnoredLimits(runtime);
    loadGivenWarnings(watch_);
  }
  if (!limits_.any()) return {};
  if (!haveRecorded_ || currency != recordedCurrency_) readRecorded(runtime, currency);
  Usage usage = recorded_;
  const Amount running = sessionCost(costStart_, cost.toStdString());
  usage.daySeconds += seconds;
  usage.monthSeconds += seconds;
  usage.dayCost += running;
  usage.monthCost += running;
  usage.dayBytes += bytes;
  usage.monthBytes += bytes;
  const auto due = watch_.check(usage, limits_);
  if (due.empty()) return {};
  saveGivenWarnings(watch_);
  QList<LimitNotice> notices;
  for (const LimitWarning& warning : due) {
    const std::string key = limitKey(warning.kind) + ' ' + watch_.given(warning.kind).period;
    notices.append({QString::fromStdString(key), QString::fromStdString(warningText(warning)),
                    figures(warning.kind, usage, limits_, currency)});
  }
  return notices;
}

}  // namespace tempodial

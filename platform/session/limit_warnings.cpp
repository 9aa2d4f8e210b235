#include "platform/session/limit_warnings.h"

#include <QTimer>
#include <utility>

#include "core/history/allowance.h"
#include "core/history/limit_setting.h"
#include "core/history/period.h"
#include "core/volume/data_volume.h"
#include "platform/clock/clock_model.h"
#include "platform/files/settings_file.h"
#include "platform/forms/form.h"
#include "platform/journal/history_store.h"
#include "platform/runtime/runtime.h"
#include "platform/session/data_allowance.h"

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

// Tells the user of a setting that is ignored, in a notice that holds
// neither the clock nor any window.
void tell(Runtime& runtime, const QString& text) { runtime.notice(text); }

}  // namespace

void reportIgnoredLimits(Runtime& runtime) {
  QStringList ignored;
  loadLimits(&ignored);
  QStringList badDay;
  loadBillingDay(&badDay);
  for (const QString& setting : badDay) {
    if (!runtime.firstTime(QStringLiteral("ignored billing day ") + setting)) continue;
    tell(runtime, QStringLiteral("The billing day %1 in the [Billing] section of %2 is ignored: a "
                                 "billing day is a whole number from 1 to 31. Months begin on "
                                 "the 1st.")
                      .arg(setting, settingsPath()));
  }
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
    tell(runtime, QStringLiteral("The limit %1 in the [Limits] section of %2 is ignored: %3.")
                      .arg(setting, settingsPath(), rule));
  }
}

void LimitWarnings::started(qint64 row, const QDateTime& start, const QString& cost) {
  row_ = row;
  // The run counts on the day it started, however long it goes on.
  day_ = localDate(start.toSecsSinceEpoch(), start.offsetFromUtc());
  costStart_ = cost.toStdString();
  haveRecorded_ = false;
  generation_ = -1;
  allowance_ = allowanceInUse();
}

void LimitWarnings::readRecorded(Runtime& runtime, const QString& currency) {
  haveRecorded_ = true;
  recordedCurrency_ = currency;
  recorded_ = Usage{};
  const Period month = billingMonthOf(day_, billingDay_);
  recorded_.day = dayOf(day_).key();
  recorded_.month = month.key();
  SessionJournal& journal = runtime.journal();
  if (journal.isOpen()) {
    const HistoryStore store(journal.database());
    auto usage = store.usage(day_, currency, row_, billingDay_);
    if (usage.ok()) recorded_ = usage.value();
  }
  // A run under a plan without one leaves the allowance to be cleared at
  // the stop, with the plan in use read again.
  if (allowance_) {
    clock_.setAllowance(
        ClockModel::Allowance{*allowance_, recorded_.monthBytes, month.next().first});
  }
}

std::optional<LimitNotice> LimitWarnings::allowanceNotice(std::int64_t used) {
  if (!allowance_) return std::nullopt;
  Limits limits;
  limits.monthData = *allowance_;
  Usage usage;
  usage.month = recorded_.month;
  usage.monthBytes = used;
  const auto due = allowanceWatch_.check(usage, limits);
  if (due.empty()) return std::nullopt;
  const LimitWatch::Given& given = allowanceWatch_.given(LimitKind::MonthData);
  saveGivenAllowanceWarning(given);
  return LimitNotice{QStringLiteral("allowance ") + QString::fromStdString(given.period),
                     QString::fromStdString(allowanceWarningText(due.front().percent)),
                     QStringLiteral("Used %1 of %2")
                         .arg(QString::fromStdString(allowanceSizeText(used)),
                              QString::fromStdString(allowanceSizeText(*allowance_)))};
}

QList<LimitNotice> LimitWarnings::counted(Runtime& runtime, qint64 seconds, qint64 bytes,
                                          const QString& cost, const QString& currency) {
  if (generation_ != limitsGeneration()) {
    generation_ = limitsGeneration();
    limits_ = loadLimits();
    reportIgnoredLimits(runtime);
    loadGivenWarnings(watch_);
    allowanceWatch_.setGiven(LimitKind::MonthData, loadGivenAllowanceWarning());
    // Another billing day makes another month of the recorded sessions.
    const int billingDay = loadBillingDay();
    if (billingDay != std::exchange(billingDay_, billingDay)) haveRecorded_ = false;
  }
  if (!limits_.any() && !allowance_) return {};
  if (!haveRecorded_ || currency != recordedCurrency_) readRecorded(runtime, currency);
  Usage usage = recorded_;
  const Amount running = sessionCost(costStart_, cost.toStdString());
  usage.daySeconds += seconds;
  usage.monthSeconds += seconds;
  usage.dayCost += running;
  usage.monthCost += running;
  usage.dayBytes += bytes;
  usage.monthBytes += bytes;
  QList<LimitNotice> notices;
  const auto due = watch_.check(usage, limits_);
  if (!due.empty()) saveGivenWarnings(watch_);
  for (const LimitWarning& warning : due) {
    const std::string key = limitKey(warning.kind) + ' ' + watch_.given(warning.kind).period;
    notices.append({QString::fromStdString(key), QString::fromStdString(warningText(warning)),
                    figures(warning.kind, usage, limits_, currency)});
  }
  if (auto notice = allowanceNotice(usage.monthBytes)) notices.append(*notice);
  return notices;
}

}  // namespace tempodial

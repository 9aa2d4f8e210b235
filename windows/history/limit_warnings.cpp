#include "windows/history/limit_warnings.h"

#include "platform/files/settings_file.h"
#include "platform/journal/history_store.h"
#include "platform/runtime/runtime.h"

namespace tempodial {

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

QStringList LimitWarnings::counted(Runtime& runtime, qint64 seconds, const QString& cost,
                                   const QString& currency) {
  if (generation_ != limitsGeneration()) {
    generation_ = limitsGeneration();
    limits_ = loadLimits();
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
  const auto due = watch_.check(usage, limits_);
  if (due.empty()) return {};
  saveGivenWarnings(watch_);
  QStringList texts;
  for (const LimitWarning& warning : due) texts << QString::fromStdString(warningText(warning));
  return texts;
}

}  // namespace tempodial

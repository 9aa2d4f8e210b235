#include "platform/session/data_allowance.h"

#include <QDateTime>

#include "core/history/period.h"
#include "platform/clock/clock_model.h"
#include "platform/files/settings_file.h"
#include "platform/journal/history_store.h"
#include "platform/plans/plan_store.h"
#include "platform/runtime/runtime.h"
#include "platform/session/journal_access.h"

namespace tempodial {

std::optional<std::int64_t> allowanceInUse() {
  const QString name = planInUse();
  if (name.isEmpty()) return std::nullopt;
  const Result<plans::Plan> plan = findPlan(name);
  if (!plan.ok()) return std::nullopt;
  return plan.value().allowanceBytes;
}

void showAllowance(Runtime& runtime, ClockModel& clock, std::optional<std::int64_t> bytes,
                   const CivilDate& day, qint64 except) {
  if (!bytes) return clock.setAllowance(std::nullopt);
  const int billingDay = loadBillingDay();
  ClockModel::Allowance allowance{*bytes, 0, billingMonthOf(day, billingDay).next().first};
  // A journal that cannot be read shows the allowance whole rather than none.
  if (openJournal(runtime).ok()) {
    const HistoryStore store(runtime.journal().database());
    auto usage = store.usage(day, clock.currencySymbol(), except, billingDay);
    if (usage.ok()) allowance.recorded = usage.value().monthBytes;
  }
  clock.setAllowance(allowance);
}

void refreshAllowance(Runtime& runtime, ClockModel& clock) {
  if (clock.running()) return;
  const QDateTime now = QDateTime::currentDateTime();
  showAllowance(runtime, clock, allowanceInUse(),
                localDate(now.toSecsSinceEpoch(), now.offsetFromUtc()), 0);
}

}  // namespace tempodial

#include "windows/history/year_page.h"

#include <QLocale>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/journal/history_store.h"
#include "windows/history/history_tables.h"
#include "windows/history/totals_model.h"

namespace tempodial {

YearPage::YearPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("yearPage"));
  months = new TotalsModel(QStringLiteral("Month"), this);
  monthsTable = historyTable(this, "monthsTable", QStringLiteral("Months"), months);
  (new QVBoxLayout(this))->addWidget(monthsTable);
}

void YearPage::fill(const HistoryStore* store, int year, int billingDay) {
  months->clearTotals();
  if (store == nullptr) return;
  auto found = store->months(year, billingDay);
  // All twelve months, those without sessions at nought.
  std::vector<PeriodTotal> twelve(12);
  for (const PeriodTotal& month : found.value())
    twelve[static_cast<std::size_t>(month.date.month - 1)] = month;
  const QLocale locale;
  for (int index = 0; index < 12; ++index) {
    // A month from a billing day by its days: "15 Jan - 14 Feb".
    const QString name =
        billingDay == 1
            ? locale.standaloneMonthName(index + 1)
            : QString::fromStdString(billingMonthStarting(year, index + 1, billingDay).label());
    months->addPeriod(name, twelve[static_cast<std::size_t>(index)]);
  }
  months->addSum(QStringLiteral("Total %1").arg(year));
  monthsTable->resizeColumnsToContents();
}

}  // namespace tempodial

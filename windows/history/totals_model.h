// A table of period totals for the History window: one row per day or month
// with its sessions, time, cost and bytes, and a bold row of their sum.
#pragma once

#include <QStandardItemModel>

#include "core/history/period_total.h"

namespace tempodial {

class TotalsModel : public QStandardItemModel {
  Q_OBJECT
 public:
  // `period` names the first column: "Date", "Month".
  TotalsModel(const QString& period, QObject* parent);

  // Takes every row away and starts the sum again.
  void clearTotals();
  // A row for `total`, named `name`, added to the sum; `date` is kept with
  // the name's cell.
  void addPeriod(const QString& name, const PeriodTotal& total, const QVariant& date = {});
  // The bold row of the sum of the rows above it.
  void addSum(const QString& name);
  const PeriodTotal& sum() const { return sum_; }

 private:
  PeriodTotal sum_;
};

}  // namespace tempodial

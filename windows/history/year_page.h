// The History window's year page: the twelve months of the shown year with
// their totals, those without sessions at nought, and the year's total.
#pragma once

#include <QWidget>

class QTableView;

namespace tempodial {

class HistoryStore;
class TotalsModel;

class YearPage : public QWidget {
  Q_OBJECT
 public:
  explicit YearPage(QWidget* parent);

  // Shows the months of `year` from `billingDay` read from `store` (no rows
  // without one).
  void fill(const HistoryStore* store, int year, int billingDay);

  QTableView* monthsTable;
  TotalsModel* months;
};

}  // namespace tempodial

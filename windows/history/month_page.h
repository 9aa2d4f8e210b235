// The History window's month page: the days of the shown month with their
// totals and a chart of time or data per day, what is left of a plan's data
// allowance, and the sessions of the chosen day with the button that
// deletes one.
#pragma once

#include <QDate>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "core/history/period.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace tempodial {

class HistoryChart;
class HistoryStore;
class SessionModel;
class StatusMessage;
class TotalsModel;

class MonthPage : public QWidget {
  Q_OBJECT
 public:
  explicit MonthPage(QWidget* parent);

  // Shows the days of `month` from `store` (none without one), with no day
  // chosen; the reason when the history cannot be read, else empty.
  QString fill(const HistoryStore* store, const Period& month);
  // Lists the sessions of the day in row `row` of the days table.
  void selectDay(int row);
  // Chooses the row of `day`, if the month has it.
  void selectDate(const QDate& day);
  QDate selectedDay() const { return selectedDay_; }

  QTableView* daysTable;
  QComboBox* chartChoice;  // what the chart shows: time or data
  HistoryChart* chart;
  QLabel* allowanceText;  // what the plan's data allowance has left
  QLabel* dayCaption;
  QTableView* sessionsTable;
  QPushButton* deleteButton;
  TotalsModel* days;
  SessionModel* sessions;

 Q_SIGNALS:
  // Delete was pressed on the session in `row` of the sessions table.
  void deleteAsked(int row);

 private:
  void connectControls();
  // The allowance's use in the shown month of `bytes`.
  void showAllowance(std::int64_t bytes);
  // The chart of the shown month as the choice above it asks.
  void drawChart();

  StatusMessage* chartNews_;
  const HistoryStore* store_ = nullptr;
  Period month_;
  QDate selectedDay_;
  std::vector<qint64> secondsPerDay_, bytesPerDay_;
};

}  // namespace tempodial

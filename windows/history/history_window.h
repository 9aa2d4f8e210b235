// The History window: the sessions kept in the journal, a month at a time
// (its days with their totals and a chart of time or data, the sessions of
// a chosen day, and what is left of a plan's data allowance) or a year at a
// time, each with its time, cost and bytes received and sent, with the CSV
// export, deleting a session, and the limits with the billing day. Months run
// from the billing day ("15 Dec - 14 Jan"). Not one of the classic windows:
// opened from "&History..." and never modal.
#pragma once

#include <QDate>
#include <functional>
#include <memory>

#include "core/history/period.h"
#include "platform/forms/form.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTabWidget;
class QTableView;

namespace tempodial {

class ClockModel;
class CsvExport;
class HistoryChart;
class HistoryStore;
class LimitsGroup;
class MonthPage;
class PeriodBar;
class SessionModel;
class YearPage;

class HistoryWindow : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "history";
  static constexpr int kIndex = 13;

  HistoryWindow(Runtime& runtime, ClockModel& clock);
  ~HistoryWindow() override;

  void onLoad() override;
  // Wide enough for every column of the tables whole, the chart as wide as
  // the days beside it; the screen bounds it when the window is shown.
  QSize sizeHint() const override;

  // Shows the month that begins in the month of `date` (in the month view)
  // or the year (in the year view) of `date`.
  void showPeriod(const QDate& date);
  // The month shown in the month view, from the billing day.
  Period shownMonth() const;
  // One month or year back or forward, as the view shows.
  void step(int by);
  // Lists the sessions of the day in row `row` of the days table.
  void selectDay(int row);
  // Deletes the session in row `row` of the sessions table, if the user confirms.
  void deleteSession(int row);
  // Writes the sessions of the shown month or year to a file the user chooses;
  // into a FIFO or a device as its reader takes them, the window going on.
  void exportShown();

  // How the window asks the user; tests answer instead.
  std::function<bool(const QString& question)> confirm;
  std::function<QString(const QString& suggested)> chooseFile;

  QTabWidget* tabs;
  QPushButton* previous;
  QDateEdit* period;
  QLabel* periodDays;  // "15 Dec - 14 Jan" for a month from a billing day
  QPushButton* next;
  QTableView* daysTable;
  QComboBox* chartChoice;  // what the chart shows: time or data
  HistoryChart* chart;
  QLabel* allowanceText;  // what the plan's data allowance has left
  QLabel* dayCaption;
  QTableView* sessionsTable;
  QPushButton* deleteButton;
  QTableView* monthsTable;
  LimitsGroup* limits;
  QPushButton* exportButton;
  QPushButton* cancelExport;  // shown while an export waits for its reader
  QPushButton* closeButton;
  QLabel* note;

  QStandardItemModel* days;
  SessionModel* sessions;
  QStandardItemModel* months;

 private:
  ClockModel& clock_;
  void buildControls();
  // The Limits page, in its scroll area, on `tabs`.
  void addLimitsPage();
  void connectControls();
  void refresh();
  // The Limits page chose another billing day.
  void billingDayChosen(int day);
  bool yearView() const;

  PeriodBar* bar_;
  MonthPage* monthPage_;
  YearPage* yearPage_;
  CsvExport* csv_;
  std::unique_ptr<HistoryStore> store_;
  QDate shown_;  // the first of the month the shown month begins in
  int billingDay_ = 1;
};

// Opens the History window, or brings it to the front.
void showHistory(Runtime& runtime);

}  // namespace tempodial

#include "windows/history/history_window.h"

#include <QDateEdit>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/clock/clock_model.h"
#include "platform/files/settings_file.h"
#include "platform/journal/history_store.h"
#include "platform/journal/session_journal.h"
#include "platform/runtime/input_paint_probe.h"
#include "platform/runtime/runtime.h"
#include "platform/session/data_allowance.h"
#include "platform/session/journal_access.h"
#include "platform/session/limit_warnings.h"
#include "windows/history/csv_export.h"
#include "windows/history/history_limits.h"
#include "windows/history/month_page.h"
#include "windows/history/period_bar.h"
#include "windows/history/session_model.h"
#include "windows/history/totals_model.h"
#include "windows/history/year_page.h"

namespace tempodial {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }
QDate qdate(const CivilDate& date) { return {date.year, date.month, date.day}; }
CivilDate civil(const QDate& date) { return {date.year(), date.month(), date.day()}; }

}  // namespace

HistoryWindow::HistoryWindow(Runtime& runtime, ClockModel& clock)
    : Form(runtime, QString::fromLatin1(kName), kIndex), clock_(clock) {
  setWindowTitle(QStringLiteral("History"));
  setAccessibleName(QStringLiteral("History"));
  setWindowFlags(Qt::Window);
  confirm = [this](const QString& question) {
    return this->runtime().waitFor([&] {
      return QMessageBox::question(this, QStringLiteral("Tempodial"), question) == QMessageBox::Yes;
    });
  };
  chooseFile = [this](const QString& suggested) {
    return this->runtime().waitFor([&] {
      return QFileDialog::getSaveFileName(this, QStringLiteral("Export CSV"), suggested,
                                          QStringLiteral("CSV files (*.csv)"));
    });
  };
  buildControls();
  setLaidOut(QSize(760, 600));
  setCancelButton(closeButton);  // Escape closes the window
}

HistoryWindow::~HistoryWindow() = default;

void HistoryWindow::buildControls() {
  QWidget* area = client();
  bar_ = new PeriodBar(area, this);
  previous = bar_->previous;
  period = bar_->period;
  periodDays = bar_->periodDays;
  next = bar_->next;

  tabs = new QTabWidget(area);
  tabs->setObjectName(QStringLiteral("tabs"));
  tabs->setAccessibleName(QStringLiteral("Views"));
  monthPage_ = new MonthPage(tabs);
  tabs->addTab(monthPage_, QStringLiteral("&Month"));
  daysTable = monthPage_->daysTable;
  chartChoice = monthPage_->chartChoice;
  chart = monthPage_->chart;
  allowanceText = monthPage_->allowanceText;
  dayCaption = monthPage_->dayCaption;
  sessionsTable = monthPage_->sessionsTable;
  deleteButton = monthPage_->deleteButton;
  days = monthPage_->days;
  sessions = monthPage_->sessions;
  yearPage_ = new YearPage(tabs);
  tabs->addTab(yearPage_, QStringLiteral("&Year"));
  monthsTable = yearPage_->monthsTable;
  months = yearPage_->months;
  addLimitsPage();

  note = new QLabel(area);
  note->setObjectName(QStringLiteral("note"));
  note->setWordWrap(true);
  exportButton = historyButton(area, "exportButton", QStringLiteral("E&xport CSV..."));
  cancelExport = historyButton(area, "cancelExport", QStringLiteral("Cancel e&xport"));
  cancelExport->hide();
  closeButton = historyButton(area, "closeButton", QStringLiteral("&Close"));
  csv_ = new CsvExport(runtime(), this, note, exportButton, cancelExport);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(note, 1);
  bottom->addWidget(exportButton);
  bottom->addWidget(cancelExport);
  bottom->addWidget(closeButton);

  auto* layout = new QVBoxLayout(area);
  layout->addLayout(bar_->row());
  layout->addWidget(tabs, 1);
  layout->addLayout(bottom);
  connectControls();
}

void HistoryWindow::addLimitsPage() {
  auto* limitsPage = new QWidget(tabs);
  limitsPage->setObjectName(QStringLiteral("limitsPage"));
  ClockModel& clock = clock_;
  limits = new LimitsGroup(limitsPage, clock.currencySymbol());
  connect(&clock, &ClockModel::currencyChanged, limits,
          [this, &clock] { limits->setCurrency(clock.currencySymbol()); });
  reportIgnoredLimits(runtime());
  connect(limits, &LimitsGroup::billingDayChosen, this, &HistoryWindow::billingDayChosen);
  // At a large scale or font the limits scroll rather than make the window
  // taller than the screen.
  auto* limitsScroll = new QScrollArea(limitsPage);
  limitsScroll->setObjectName(QStringLiteral("limitsScroll"));
  limitsScroll->setAccessibleName(QStringLiteral("Limits"));
  limitsScroll->setFrameShape(QFrame::NoFrame);
  limitsScroll->setWidgetResizable(true);
  limitsScroll->setWidget(limits);
  auto* limitsLayout = new QVBoxLayout(limitsPage);
  limitsLayout->setContentsMargins(0, 0, 0, 0);
  limitsLayout->addWidget(limitsScroll);
  tabs->addTab(limitsPage, QStringLiteral("&Limits"));
}

void HistoryWindow::connectControls() {
  // Tab leaves a table; the arrow keys move inside it.
  for (QTableView* table : {daysTable, sessionsTable, monthsTable}) {
    table->setTabKeyNavigation(false);
  }
  connect(bar_, &PeriodBar::stepped, this, &HistoryWindow::step);
  connect(bar_, &PeriodBar::dateChosen, this, &HistoryWindow::showPeriod);
  connect(tabs, &QTabWidget::currentChanged, this, [this] {
    bar_->setYearView(yearView());
    refresh();
  });
  connect(monthPage_, &MonthPage::deleteAsked, this, &HistoryWindow::deleteSession);
  connect(exportButton, &QPushButton::clicked, this, [this] { exportShown(); });
  connect(closeButton, &QPushButton::clicked, this,
          [this] { this->runtime().unload(QString::fromLatin1(kName)); });
}

void HistoryWindow::onLoad() {
  const Status opened = openJournal(runtime());
  if (opened.ok()) {
    store_ = std::make_unique<HistoryStore>(runtime().journal().database());
  } else {
    note->setText(QStringLiteral("The session journal cannot be read: %1")
                      .arg(QString::fromStdString(opened.reason())));
  }
  billingDay_ = loadBillingDay();
  // The month that holds today: from the 15th, on the 3rd it is last month's.
  const CivilDate today = civil(QDate::currentDate());
  const CivilDate first = billingMonthOf(today, billingDay_).first;
  shown_ = QDate(first.year, first.month, 1);
  period->setDate(shown_);
  refresh();
}

Period HistoryWindow::shownMonth() const {
  return billingMonthStarting(shown_.year(), shown_.month(), billingDay_);
}

void HistoryWindow::billingDayChosen(int day) {
  const Status saved = saveBillingDay(day);
  if (!saved.ok()) {
    runtime().message(
        QStringLiteral("The billing day could not be kept: %1").arg(qt(saved.reason())));
  }
  billingDay_ = soundBillingDay(day);
  refresh();
  // The status icon's allowance follows; a running clock's is read again
  // at its next second.
  refreshAllowance(runtime(), clock_);
}

QSize HistoryWindow::sizeHint() const {
  const auto whole = [this](const QTableView* table) {
    const QAbstractItemView* view = table;  // where the cells' widths are public
    int width = 2 * table->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int column = 0; column < table->model()->columnCount(); ++column) {
      width += std::max(table->horizontalHeader()->sectionSizeHint(column),
                        view->sizeHintForColumn(column));
    }
    return width;
  };
  // The margins of the window, the page and the tab's frame.
  const int margins = fontMetrics().height() * 3;
  QSize wanted = Form::sizeHint();
  wanted.setWidth(
      std::max(wanted.width(), std::max(2 * whole(daysTable), whole(sessionsTable)) + margins));
  return wanted;
}

bool HistoryWindow::yearView() const { return tabs->currentIndex() == 1; }

void HistoryWindow::showPeriod(const QDate& date) {
  const QDate first(date.year(), date.month(), 1);
  if (first == shown_) return;
  shown_ = first;
  if (period->date() != date) period->setDate(date);
  refresh();
}

void HistoryWindow::step(int by) {
  // A year keeps its month for the month view.
  if (yearView()) return showPeriod(shown_.addYears(by));
  showPeriod(qdate(by < 0 ? shownMonth().previous().first : shownMonth().next().first));
}

void HistoryWindow::refresh() {
  // The days of a month from a billing day, beside the month it begins in.
  const Period month = shownMonth();
  periodDays->setText(qt(month.label()));
  periodDays->setVisible(!yearView() && billingDay_ != 1);
  if (yearView()) {
    yearPage_->fill(store_.get(), shown_.year(), billingDay_);
  } else {
    const QString error = monthPage_->fill(store_.get(), month);
    if (!error.isEmpty())
      note->setText(QStringLiteral("The history cannot be read: %1").arg(error));
  }
  reportNextPaint(this, yearView() ? "year" : "month");
}

void HistoryWindow::selectDay(int row) { monthPage_->selectDay(row); }

void HistoryWindow::deleteSession(int row) {
  if (!store_ || row < 0 || row >= sessions->rowCount()) return;
  const QDate day = monthPage_->selectedDay();
  const QString question =
      QStringLiteral("Delete the session that started at %1 on %2 (%3)? This cannot be undone.")
          .arg(sessions->index(row, 0).data().toString(),
               QLocale().toString(day, QLocale::ShortFormat),
               sessions->index(row, 2).data().toString());
  if (!confirm(question)) return;
  const Status status = store_->remove(sessions->session(row).id);
  if (!status.ok()) {
    runtime().message(
        QStringLiteral("The session could not be deleted: %1").arg(qt(status.reason())));
    return;
  }
  monthPage_->fill(store_.get(), shownMonth());
  monthPage_->selectDate(day);
  note->setText(QStringLiteral("The session has been deleted."));
}

void HistoryWindow::exportShown() {
  if (!store_ || csv_->busy()) return;  // one export at a time
  // The shown month's days, from its billing day; a year from 1 January.
  const Period shown = yearView() ? yearOf(civil(shown_)) : shownMonth();
  const QString path = chooseFile(QStringLiteral("tempodial-%1.csv").arg(qt(shown.key())));
  if (path.isEmpty()) return;
  csv_->write(*store_, shown, path);
}

void showHistory(Runtime& runtime) {
  auto& window = runtime.form<HistoryWindow>();
  window.bringToFront();
  reportNextPaint(&window, "open");
}

}  // namespace tempodial

#include "windows/history/month_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "core/history/allowance.h"
#include "platform/forms/controls.h"
#include "platform/journal/history_store.h"
#include "platform/session/data_allowance.h"
#include "windows/history/history_chart.h"
#include "windows/history/history_tables.h"
#include "windows/history/period_bar.h"
#include "windows/history/session_model.h"
#include "windows/history/totals_model.h"

namespace tempodial {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }
QDate qdate(const CivilDate& date) { return {date.year, date.month, date.day}; }
const QString kChooseADay = QStringLiteral("Choose a day to see its sessions.");

}  // namespace

MonthPage::MonthPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("monthPage"));
  days = new TotalsModel(QStringLiteral("Date"), this);
  sessions = new SessionModel(this);
  daysTable = historyTable(this, "daysTable", QStringLiteral("Days"), days);
  chart = new HistoryChart(this);
  chartChoice = new QComboBox(this);
  chartChoice->setObjectName(QStringLiteral("chartChoice"));
  chartChoice->setAccessibleName(QStringLiteral("Chart"));
  chartChoice->addItems({QStringLiteral("Time per day"), QStringLiteral("Data per day")});
  auto* chartLabel = new QLabel(QStringLiteral("Cha&rt"), this);
  chartLabel->setObjectName(QStringLiteral("chartLabel"));
  chartLabel->setBuddy(chartChoice);
  // A new choice is told wherever the focus is, with what the chart now shows.
  chartNews_ = new StatusMessage(chart);
  allowanceText = new QLabel(this);
  allowanceText->setObjectName(QStringLiteral("allowanceText"));
  allowanceText->setWordWrap(true);
  dayCaption = new QLabel(kChooseADay, this);
  dayCaption->setObjectName(QStringLiteral("dayCaption"));
  dayCaption->setWordWrap(true);
  sessionsTable = historyTable(this, "sessionsTable", QStringLiteral("Sessions"), sessions);
  deleteButton = historyButton(this, "deleteButton", QStringLiteral("&Delete session..."));
  deleteButton->setEnabled(false);
  auto* upper = new QHBoxLayout;
  // The days' columns need more room than the chart.
  upper->addWidget(daysTable, 3);
  auto* chartColumn = new QVBoxLayout;
  auto* chartRow = new QHBoxLayout;
  chartRow->addWidget(chartLabel);
  chartRow->addWidget(chartChoice);
  chartRow->addStretch(1);
  chartColumn->addLayout(chartRow);
  chartColumn->addWidget(chart, 1);
  upper->addLayout(chartColumn, 2);
  // Top to bottom and left to right in the order Tab visits them.
  auto* lower = new QHBoxLayout;
  lower->addStretch(1);
  lower->addWidget(deleteButton);
  auto* layout = new QVBoxLayout(this);
  // Half the usual margins inside the tab's frame: room for the tables on a
  // small screen at a large scale.
  const int margin = style()->pixelMetric(QStyle::PM_LayoutTopMargin) / 2;
  layout->setContentsMargins(margin, margin, margin, margin);
  layout->addLayout(upper, 3);
  layout->addWidget(allowanceText);
  // Shown only under a plan with an allowance: until then it takes no room.
  allowanceText->hide();
  layout->addWidget(dayCaption);
  layout->addWidget(sessionsTable, 2);
  layout->addLayout(lower);
  connectControls();
}

void MonthPage::connectControls() {
  connect(chartChoice, &QComboBox::currentIndexChanged, this, [this] {
    drawChart();
    chartNews_->announce(chart->accessibleName() + QStringLiteral(": ") +
                         chart->accessibleDescription());
  });
  connect(daysTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { selectDay(current.row()); });
  connect(sessionsTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            deleteButton->setEnabled(current.isValid() && current.row() < sessions->rowCount());
          });
  connect(deleteButton, &QPushButton::clicked, this,
          [this] { Q_EMIT deleteAsked(sessionsTable->currentIndex().row()); });
}

QString MonthPage::fill(const HistoryStore* store, const Period& month) {
  store_ = store;
  month_ = month;
  days->clearTotals();
  sessions->showDay(nullptr, {});
  selectedDay_ = {};
  deleteButton->setEnabled(false);
  dayCaption->setText(kChooseADay);
  secondsPerDay_.assign(static_cast<std::size_t>(month.dayCount()), 0);
  bytesPerDay_ = secondsPerDay_;
  QString error;
  if (store_) {
    auto found = store_->days(month);
    if (!found.ok()) error = qt(found.reason());
    const QLocale locale;
    for (const PeriodTotal& day : found.value()) {
      days->addPeriod(locale.toString(qdate(day.date), QLocale::ShortFormat), day, qdate(day.date));
      const auto bar = static_cast<std::size_t>(daysBetween(month.first, day.date));
      secondsPerDay_[bar] = day.seconds;
      bytesPerDay_[bar] = day.received + day.sent;
    }
    days->addSum(QStringLiteral("Total"));
  }
  showAllowance(days->sum().received + days->sum().sent);
  daysTable->resizeColumnsToContents();
  drawChart();
  daysTable->scrollToTop();
  deleteButton->setEnabled(false);
  return error;
}

void MonthPage::showAllowance(std::int64_t bytes) {
  const std::optional<std::int64_t> allowance = allowanceInUse();
  allowanceText->setVisible(allowance.has_value());
  if (!allowance) return;
  const std::int64_t left = std::max<std::int64_t>(*allowance - bytes, 0);
  allowanceText->setText(
      QStringLiteral("Data allowance %1: %2 used, %3 left; it starts again on %4.")
          .arg(qt(allowanceSizeText(*allowance)), qt(allowanceSizeText(bytes)),
               qt(allowanceSizeText(left)), qt(shortDateText(month_.next().first))));
}

void MonthPage::drawChart() {
  const bool data = chartChoice->currentIndex() == 1;
  chart->setDays(data ? bytesPerDay_ : secondsPerDay_,
                 data ? ChartMeasure::Data : ChartMeasure::Time, month_.first.day,
                 daysInMonth(month_.first.year, month_.first.month));
}

void MonthPage::selectDay(int row) {
  deleteButton->setEnabled(false);
  QStandardItem* item = row >= 0 ? days->item(row, 0) : nullptr;
  selectedDay_ = item != nullptr ? item->data().toDate() : QDate();
  sessions->showDay(store_, selectedDay_);
  if (!store_ || !selectedDay_.isValid()) {
    dayCaption->setText(kChooseADay);
    return;
  }
  dayCaption->setText(QStringLiteral("Sessions of %1 (each counts on the day it started)")
                          .arg(QLocale().toString(selectedDay_, QLocale::LongFormat)));
  sessionsTable->resizeColumnsToContents();
  deleteButton->setEnabled(false);
}

void MonthPage::selectDate(const QDate& day) {
  for (int row = 0; row < days->rowCount(); ++row) {
    if (days->item(row, 0)->data().toDate() == day) {
      daysTable->selectRow(row);
      daysTable->setCurrentIndex(days->index(row, 0));
    }
  }
}

}  // namespace tempodial

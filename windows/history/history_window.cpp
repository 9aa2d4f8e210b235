#include "windows/history/history_window.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

#include "core/history/allowance.h"
#include "core/values/number_text.h"
#include "core/volume/data_volume.h"
#include "platform/clock/clock_model.h"
#include "platform/files/export_target.h"
#include "platform/files/places.h"
#include "platform/files/settings_file.h"
#include "platform/files/stream_writer.h"
#include "platform/forms/controls.h"
#include "platform/journal/history_store.h"
#include "platform/journal/session_journal.h"
#include "platform/runtime/input_paint_probe.h"
#include "platform/runtime/runtime.h"
#include "platform/session/data_allowance.h"
#include "platform/session/journal_access.h"
#include "platform/session/limit_warnings.h"
#include "windows/history/history_chart.h"
#include "windows/history/history_limits.h"
#include "windows/history/history_tables.h"
#include "windows/history/session_model.h"

namespace tempodial {
namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QString& accessible = {}) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAccessibleName(accessible.isEmpty() ? QString(caption).remove(QLatin1Char('&'))
                                            : accessible);
  return b;
}

QString qt(const std::string& text) { return QString::fromStdString(text); }
QDate qdate(const CivilDate& date) { return {date.year, date.month, date.day}; }
CivilDate civil(const QDate& date) { return {date.year(), date.month(), date.day()}; }
QString sessionsText(qint64 count) { return QString::number(count); }
// Bytes as sizes are written; empty for sessions kept before bytes were counted.
QString bytesText(std::optional<qint64> bytes) {
  return bytes ? qt(volumeText(*bytes)) : QString();
}
// Received, sent and both together.
QStringList volumeTexts(std::optional<qint64> received, std::optional<qint64> sent) {
  std::optional<qint64> total;
  if (received && sent) total = *received + *sent;
  return {bytesText(received), bytesText(sent), bytesText(total)};
}
// A period's: blank when no session's bytes are known, the known sum marked
// as partial ("≥ 1.2 MB") when some are not; never 0 for unknown.
QStringList volumeTexts(const PeriodTotal& total) {
  if (total.unknownBytes > 0 && total.unknownBytes >= total.sessions) return {{}, {}, {}};
  QStringList texts = volumeTexts(total.received, total.sent);
  if (total.unknownBytes > 0) {
    for (QString& text : texts) text.prepend(QStringLiteral("\u2265 "));
  }
  return texts;
}
const QStringList kVolumeHeaders{QStringLiteral("Received"), QStringLiteral("Sent"),
                                 QStringLiteral("Data")};

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
  days = historyModel(this, QStringList{QStringLiteral("Date"), QStringLiteral("Sessions"),
                                        QStringLiteral("Time"), QStringLiteral("Cost")} +
                                kVolumeHeaders);
  sessions = new SessionModel(this);
  months = historyModel(this, QStringList{QStringLiteral("Month"), QStringLiteral("Sessions"),
                                          QStringLiteral("Time"), QStringLiteral("Cost")} +
                                  kVolumeHeaders);

  previous = button(area, "previous", QStringLiteral("\u25C0"), QStringLiteral("Previous"));
  period = new QDateEdit(area);
  period->setObjectName(QStringLiteral("period"));
  period->setAccessibleName(QStringLiteral("Month"));
  period->setDisplayFormat(QStringLiteral("MMMM yyyy"));
  period->setCalendarPopup(true);
  periodDays = new QLabel(area);
  periodDays->setObjectName(QStringLiteral("periodDays"));
  next = button(area, "next", QStringLiteral("\u25B6"), QStringLiteral("Next"));
  for (QPushButton* arrow : {previous, next}) {
    arrow->setMaximumWidth(arrow->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 3);
  }
  auto* top = new QHBoxLayout;
  top->addWidget(previous);
  top->addWidget(period);
  top->addWidget(next);
  top->addWidget(periodDays);
  periodDays->hide();
  top->addStretch(1);

  tabs = new QTabWidget(area);
  tabs->setObjectName(QStringLiteral("tabs"));
  tabs->setAccessibleName(QStringLiteral("Views"));

  auto* monthPage = new QWidget(tabs);
  monthPage->setObjectName(QStringLiteral("monthPage"));
  daysTable = historyTable(monthPage, "daysTable", QStringLiteral("Days"), days);
  chart = new HistoryChart(monthPage);
  chartChoice = new QComboBox(monthPage);
  chartChoice->setObjectName(QStringLiteral("chartChoice"));
  chartChoice->setAccessibleName(QStringLiteral("Chart"));
  chartChoice->addItems({QStringLiteral("Time per day"), QStringLiteral("Data per day")});
  auto* chartLabel = new QLabel(QStringLiteral("Cha&rt"), monthPage);
  chartLabel->setObjectName(QStringLiteral("chartLabel"));
  chartLabel->setBuddy(chartChoice);
  // A new choice is told wherever the focus is, with what the chart now shows.
  auto* chartNews = new StatusMessage(chart);
  allowanceText = new QLabel(monthPage);
  allowanceText->setObjectName(QStringLiteral("allowanceText"));
  allowanceText->setWordWrap(true);
  dayCaption = new QLabel(QStringLiteral("Choose a day to see its sessions."), monthPage);
  dayCaption->setObjectName(QStringLiteral("dayCaption"));
  dayCaption->setWordWrap(true);
  sessionsTable = historyTable(monthPage, "sessionsTable", QStringLiteral("Sessions"), sessions);
  deleteButton = button(monthPage, "deleteButton", QStringLiteral("&Delete session..."));
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
  auto* monthLayout = new QVBoxLayout(monthPage);
  // Half the usual margins inside the tab's frame: room for the tables on a
  // small screen at a large scale.
  const int margin = monthPage->style()->pixelMetric(QStyle::PM_LayoutTopMargin) / 2;
  monthLayout->setContentsMargins(margin, margin, margin, margin);
  monthLayout->addLayout(upper, 3);
  monthLayout->addWidget(allowanceText);
  // Shown only under a plan with an allowance: until then it takes no room.
  allowanceText->hide();
  monthLayout->addWidget(dayCaption);
  monthLayout->addWidget(sessionsTable, 2);
  monthLayout->addLayout(lower);
  tabs->addTab(monthPage, QStringLiteral("&Month"));

  auto* yearPage = new QWidget(tabs);
  yearPage->setObjectName(QStringLiteral("yearPage"));
  monthsTable = historyTable(yearPage, "monthsTable", QStringLiteral("Months"), months);
  (new QVBoxLayout(yearPage))->addWidget(monthsTable);
  tabs->addTab(yearPage, QStringLiteral("&Year"));

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

  note = new QLabel(area);
  note->setObjectName(QStringLiteral("note"));
  note->setWordWrap(true);
  exportButton = button(area, "exportButton", QStringLiteral("E&xport CSV..."));
  cancelExport = button(area, "cancelExport", QStringLiteral("Cancel e&xport"));
  cancelExport->hide();
  closeButton = button(area, "closeButton", QStringLiteral("&Close"));
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(note, 1);
  bottom->addWidget(exportButton);
  bottom->addWidget(cancelExport);
  bottom->addWidget(closeButton);

  auto* layout = new QVBoxLayout(area);
  layout->addLayout(top);
  layout->addWidget(tabs, 1);
  layout->addLayout(bottom);

  connect(chartChoice, &QComboBox::currentIndexChanged, this, [this, chartNews] {
    drawChart();
    chartNews->announce(chart->accessibleName() + QStringLiteral(": ") +
                        chart->accessibleDescription());
  });
  // Tab leaves a table; the arrow keys move inside it.
  for (QTableView* table : {daysTable, sessionsTable, monthsTable}) {
    table->setTabKeyNavigation(false);
  }

  // Back and forward, also from anywhere in the window as in a browser.
  for (auto [arrow, key, by] : {std::tuple{previous, Qt::Key_Left, -1}, {next, Qt::Key_Right, 1}}) {
    connect(arrow, &QPushButton::clicked, this, [this, by] { step(by); });
    const QKeySequence keys(Qt::ALT | key);
    connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, by] { step(by); });
    arrow->setToolTip(QStringLiteral("%1 (%2)").arg(arrow->accessibleName(),
                                                    keys.toString(QKeySequence::NativeText)));
  }
  connect(period, &QDateEdit::dateChanged, this, [this](const QDate& date) { showPeriod(date); });
  connect(tabs, &QTabWidget::currentChanged, this, [this] {
    period->setDisplayFormat(yearView() ? QStringLiteral("yyyy") : QStringLiteral("MMMM yyyy"));
    period->setAccessibleName(yearView() ? QStringLiteral("Year") : QStringLiteral("Month"));
    refresh();
  });
  connect(daysTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { selectDay(current.row()); });
  connect(sessionsTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            deleteButton->setEnabled(current.isValid() && current.row() < sessions->rowCount());
          });
  connect(deleteButton, &QPushButton::clicked, this,
          [this] { deleteSession(sessionsTable->currentIndex().row()); });
  connect(exportButton, &QPushButton::clicked, this, [this] { exportShown(); });
  connect(cancelExport, &QPushButton::clicked, this, [this] {
    if (writer_) writer_->cancel();
  });
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
    fillYear();
  } else {
    fillMonth();
  }
  reportNextPaint(this, yearView() ? "year" : "month");
}

void HistoryWindow::fillMonth() {
  days->removeRows(0, days->rowCount());
  sessions->showDay(nullptr, {});
  selectedDay_ = {};
  deleteButton->setEnabled(false);
  dayCaption->setText(QStringLiteral("Choose a day to see its sessions."));
  const Period shown = shownMonth();
  secondsPerDay_.assign(static_cast<std::size_t>(shown.dayCount()), 0);
  bytesPerDay_ = secondsPerDay_;
  PeriodTotal month;
  if (store_) {
    auto found = store_->days(shown);
    if (!found.ok())
      note->setText(QStringLiteral("The history cannot be read: %1").arg(qt(found.reason())));
    const QLocale locale;
    for (const PeriodTotal& day : found.value()) {
      days->appendRow(historyRow(QStringList{locale.toString(qdate(day.date), QLocale::ShortFormat),
                                             sessionsText(day.sessions),
                                             qt(durationText(day.seconds)), qt(day.cost.text())} +
                                 volumeTexts(day)));
      days->item(days->rowCount() - 1, 0)->setData(qdate(day.date));
      month.sessions += day.sessions;
      month.seconds += day.seconds;
      month.cost.add(day.cost);
      month.received += day.received;
      month.sent += day.sent;
      month.unknownBytes += day.unknownBytes;
      const auto bar = static_cast<std::size_t>(daysBetween(shown.first, day.date));
      secondsPerDay_[bar] = day.seconds;
      bytesPerDay_[bar] = day.received + day.sent;
    }
    days->appendRow(historyRow(QStringList{QStringLiteral("Total"), sessionsText(month.sessions),
                                           qt(durationText(month.seconds)), qt(month.cost.text())} +
                                   volumeTexts(month),
                               true));
  }
  showAllowance(month.received + month.sent);
  daysTable->resizeColumnsToContents();
  drawChart();
  daysTable->scrollToTop();
  deleteButton->setEnabled(false);
}

void HistoryWindow::fillYear() {
  months->removeRows(0, months->rowCount());
  if (!store_) return;
  auto found = store_->months(shown_.year(), billingDay_);
  // All twelve months, those without sessions at nought.
  std::vector<PeriodTotal> twelve(12);
  for (const PeriodTotal& month : found.value())
    twelve[static_cast<std::size_t>(month.date.month - 1)] = month;
  PeriodTotal year;
  const QLocale locale;
  for (int index = 0; index < 12; ++index) {
    const PeriodTotal& month = twelve[static_cast<std::size_t>(index)];
    // A month from a billing day by its days: "15 Jan - 14 Feb".
    const QString name =
        billingDay_ == 1 ? locale.standaloneMonthName(index + 1)
                         : qt(billingMonthStarting(shown_.year(), index + 1, billingDay_).label());
    months->appendRow(
        historyRow(QStringList{name, sessionsText(month.sessions), qt(durationText(month.seconds)),
                               qt(month.cost.text())} +
                   volumeTexts(month)));
    year.sessions += month.sessions;
    year.seconds += month.seconds;
    year.cost.add(month.cost);
    year.received += month.received;
    year.sent += month.sent;
    year.unknownBytes += month.unknownBytes;
  }
  months->appendRow(historyRow(
      QStringList{QStringLiteral("Total %1").arg(shown_.year()), sessionsText(year.sessions),
                  qt(durationText(year.seconds)), qt(year.cost.text())} +
          volumeTexts(year),
      true));
  monthsTable->resizeColumnsToContents();
}

void HistoryWindow::showAllowance(qint64 bytes) {
  const std::optional<std::int64_t> allowance = allowanceInUse();
  allowanceText->setVisible(allowance.has_value());
  if (!allowance) return;
  const Period shown = shownMonth();
  const qint64 left = std::max<qint64>(*allowance - bytes, 0);
  allowanceText->setText(
      QStringLiteral("Data allowance %1: %2 used, %3 left; it starts again on %4.")
          .arg(qt(allowanceSizeText(*allowance)), qt(allowanceSizeText(bytes)),
               qt(allowanceSizeText(left)), qt(shortDateText(shown.next().first))));
}

void HistoryWindow::drawChart() {
  const bool data = chartChoice->currentIndex() == 1;
  const Period shown = shownMonth();
  chart->setDays(data ? bytesPerDay_ : secondsPerDay_,
                 data ? ChartMeasure::Data : ChartMeasure::Time, shown.first.day,
                 daysInMonth(shown.first.year, shown.first.month));
}

void HistoryWindow::selectDay(int index) {
  deleteButton->setEnabled(false);
  QStandardItem* item = index >= 0 ? days->item(index, 0) : nullptr;
  selectedDay_ = item != nullptr ? item->data().toDate() : QDate();
  sessions->showDay(store_.get(), selectedDay_);
  if (!store_ || !selectedDay_.isValid()) {
    dayCaption->setText(QStringLiteral("Choose a day to see its sessions."));
    return;
  }
  dayCaption->setText(QStringLiteral("Sessions of %1 (each counts on the day it started)")
                          .arg(QLocale().toString(selectedDay_, QLocale::LongFormat)));
  sessionsTable->resizeColumnsToContents();
  deleteButton->setEnabled(false);
}

void HistoryWindow::deleteSession(int index) {
  if (!store_ || index < 0 || index >= sessions->rowCount()) return;
  const QString question =
      QStringLiteral("Delete the session that started at %1 on %2 (%3)? This cannot be undone.")
          .arg(sessions->index(index, 0).data().toString(),
               QLocale().toString(selectedDay_, QLocale::ShortFormat),
               sessions->index(index, 2).data().toString());
  if (!confirm(question)) return;
  const Status status = store_->remove(sessions->session(index).id);
  if (!status.ok()) {
    runtime().message(
        QStringLiteral("The session could not be deleted: %1").arg(qt(status.reason())));
    return;
  }
  const QDate day = selectedDay_;
  fillMonth();
  for (int r = 0; r < days->rowCount(); ++r) {
    if (days->item(r, 0)->data().toDate() == day) {
      daysTable->selectRow(r);
      daysTable->setCurrentIndex(days->index(r, 0));
    }
  }
  note->setText(QStringLiteral("The session has been deleted."));
}

void HistoryWindow::exportShown() {
  if (!store_ || writer_) return;  // one export at a time
  const bool year = yearView();
  // The shown month's days, from its billing day; a year from 1 January.
  const Period shown = year ? yearOf(civil(shown_)) : shownMonth();
  const CivilDate from = shown.first;
  const QDate last = qdate(shown.last);
  const QString suggested = QStringLiteral("tempodial-%1.csv").arg(qt(shown.key()));
  const QString path = chooseFile(suggested);
  if (path.isEmpty()) return;
  qint64 count = 0;
  const QString journalPath = runtime().journal().path();
  auto opened = ExportOutput::open(path, programFiles(runtime().places(), journalPath),
                                   ExportOutput::Reader::Required);
  Status status = opened.status();
  if (status.ok() && opened.value()->isStream()) {
    // Read whole first: the reader takes it at its own pace.
    std::string text;
    status = store_->exportCsv(
        from, civil(last),
        [&text](std::string_view bytes) {
          text.append(bytes);
          return true;
        },
        &count);
    if (status.ok()) {
      streamExport(std::move(opened.value()), path, text, count);
      return;
    }
  } else if (status.ok()) {
    ExportOutput& output = *opened.value();
    status = store_->exportCsv(
        from, civil(last), [&output](std::string_view bytes) { return output.write(bytes); },
        &count);
    // A journal that cannot be read leaves the target as it was; a write that
    // failed is told by the target's own reason.
    if (status.ok() || !output.error().empty()) {
      status = output.finish();
    } else {
      output.cancel();
    }
  }
  if (!status.ok()) {
    runtime().message(QStringLiteral("The history could not be written to %1: %2")
                          .arg(path, qt(status.reason())));
    return;
  }
  note->setText(QStringLiteral("%1 sessions written to %2").arg(count).arg(path));
}

void HistoryWindow::streamExport(std::unique_ptr<ExportOutput> output, const QString& path,
                                 const std::string& text, qint64 count) {
  writer_ = new StreamWriter(std::move(output), QByteArray::fromStdString(text), 2000, this);
  exportButton->hide();
  cancelExport->show();
  note->setText(QStringLiteral("Writing %1 sessions to %2...").arg(count).arg(path));
  connect(writer_, &StreamWriter::stallChanged, this, [this, path, count](bool stalled) {
    note->setText(stalled ? QStringLiteral("The program reading %1 takes nothing: the export "
                                           "waits for it (Cancel export gives up).")
                                .arg(path)
                          : QStringLiteral("Writing %1 sessions to %2...").arg(count).arg(path));
  });
  connect(writer_, &StreamWriter::finished, this, [this, path, count](const QString& error) {
    const bool focused = cancelExport->hasFocus();
    cancelExport->hide();
    exportButton->show();
    if (focused) exportButton->setFocus();
    const bool cancelled = writer_->cancelled();
    writer_->deleteLater();
    writer_ = nullptr;
    if (cancelled) {
      note->setText(QStringLiteral("The export to %1 was cancelled.").arg(path));
    } else if (!error.isEmpty()) {
      note->clear();
      runtime().message(
          QStringLiteral("The history could not be written to %1: %2").arg(path, error));
    } else {
      note->setText(QStringLiteral("%1 sessions written to %2").arg(count).arg(path));
    }
  });
  writer_->start();
}

void showHistory(Runtime& runtime) {
  auto& window = runtime.form<HistoryWindow>();
  window.bringToFront();
  reportNextPaint(&window, "open");
}

}  // namespace tempodial

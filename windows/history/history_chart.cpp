#include "windows/history/history_chart.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/history/history.h"
#include "core/volume/data_volume.h"

namespace tempodial {
namespace {

// A step of the hours axis that gives at most about five marks.
double hourStep(double topHours) {
  for (double step : {0.25, 0.5, 1.0, 2.0, 3.0, 4.0, 6.0, 12.0}) {
    if (topHours / step <= 5) return step;
  }
  return 24;
}

// A step of 1, 2 or 5 times a power of ten that gives at most five marks.
double roundStep(double top) {
  double step = 1;
  while (top / step > 5) {
    for (double times : {2.0, 2.5, 2.0}) {
      step *= times;
      if (top / step <= 5) return step;
    }
  }
  return step;
}

QString hoursText(double hours) { return QString::number(hours, 'g', 4); }

// How many of a day's seconds or bytes one unit of the axis is.
double unitOf(ChartMeasure measure) { return measure == ChartMeasure::Time ? 3600.0 : 1e6; }

}  // namespace

HistoryChart::HistoryChart(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("chart"));
  setAccessibleName(QStringLiteral("Time per day"));
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

namespace {

// Each step with the fewest days between two of its numbers: from the first
// day to the step's first multiple.
constexpr std::pair<int, int> kSteps[] = {{1, 1}, {2, 2}, {5, 4}, {10, 9}, {15, 14}};

}  // namespace

int HistoryChart::dayLabelStep(double slot, int labelWidth) {
  for (auto [step, gap] : kSteps) {
    if (gap * slot >= labelWidth) return step;
  }
  return 0;
}

std::vector<int> HistoryChart::labelledBars(const std::vector<int>& dayNumbers, int step) {
  // No step: the first bar's number alone.
  int gap = step <= 0 ? std::numeric_limits<int>::max() : 1;
  for (auto [each, fewest] : kSteps) {
    if (each == step) gap = fewest;
  }
  std::vector<int> bars;
  for (int bar = 0; bar < static_cast<int>(dayNumbers.size()); ++bar) {
    if (!labelsDay(dayNumbers[static_cast<std::size_t>(bar)], step) && bar > 0) continue;
    // The first bar always shows its day, so that the month's start reads.
    if (!bars.empty() && bar - bars.back() < gap) continue;
    bars.push_back(bar);
  }
  return bars;
}

bool HistoryChart::labelsDay(int day, int step) {
  if (day == 1) return true;
  if (step <= 0) return false;
  if (step <= 2) return (day - 1) % step == 0;
  return day % step == 0;
}

void HistoryChart::setDays(std::vector<qint64> perDay, ChartMeasure measure, int firstDay,
                           int firstMonthDays) {
  seconds_ = std::move(perDay);
  measure_ = measure;
  dayNumbers_.clear();
  for (std::size_t bar = 0; bar < seconds_.size(); ++bar) {
    const int day = firstDay + static_cast<int>(bar);
    dayNumbers_.push_back(day > firstMonthDays ? day - firstMonthDays : day);
  }
  qint64 total = 0;
  int used = 0;
  std::size_t busiest = 0;
  for (std::size_t day = 0; day < seconds_.size(); ++day) {
    total += seconds_[day];
    used += seconds_[day] > 0;
    if (seconds_[day] > seconds_[busiest]) busiest = day;
  }
  const bool time = measure == ChartMeasure::Time;
  const auto amount = [time](qint64 value) {
    return QString::fromStdString(time ? durationText(value) : volumeText(value));
  };
  setAccessibleName(time ? QStringLiteral("Time per day") : QStringLiteral("Data per day"));
  QString summary = QStringLiteral("%1 in all, %2 of %3 days with %4")
                        .arg(amount(total))
                        .arg(used)
                        .arg(seconds_.size())
                        .arg(time ? QStringLiteral("sessions") : QStringLiteral("data"));
  if (used > 0) {
    summary += QStringLiteral("; the busiest, day %1: %2")
                   .arg(dayNumbers_[busiest])
                   .arg(amount(seconds_[busiest]));
  }
  setAccessibleDescription(summary);
  update();
}

void HistoryChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, false);
  const QPalette& colours = palette();
  const QFontMetrics metrics = fontMetrics();
  const int line = metrics.height();

  const qint64 most = seconds_.empty() ? 0 : *std::max_element(seconds_.begin(), seconds_.end());
  const double unit = unitOf(measure_);
  const double hours = std::max(most / unit, 1.0);
  const double step = measure_ == ChartMeasure::Time ? hourStep(hours) : roundStep(hours);
  const double top = std::ceil(hours / step) * step;

  // Room for the axis labels: the hours (or MB) on the left; the axis title
  // above; the day numbers and the axis title below.
  const QString title =
      measure_ == ChartMeasure::Time ? QStringLiteral("Hours") : QStringLiteral("MB");
  const int left =
      std::max(metrics.horizontalAdvance(hoursText(top)), metrics.horizontalAdvance(title)) + line;
  const int above = line + line / 2;
  const int below = 4 + line + line / 4 + line + 2;
  const QRect plot(left, above, std::max(1, width() - left - line),
                   std::max(1, height() - above - below));

  painter.setPen(colours.color(QPalette::Text));
  painter.drawText(QRect(0, 0, left + plot.width(), line), Qt::AlignLeft | Qt::AlignVCenter, title);
  painter.drawText(QRect(0, height() - line - 2, width(), line + 2),
                   Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Day of the month"));

  // The hour marks and their grid lines; where the plot is low, a label
  // every few marks so that labels never overlap.
  QColor grid = colours.color(QPalette::Text);
  grid.setAlpha(50);
  const double markGap = step / top * plot.height();
  const int labelEvery = std::max(1, static_cast<int>(std::ceil(line / std::max(markGap, 1.0))));
  int mark = 0;
  for (double hours = 0; hours <= top + 1e-9; hours += step, ++mark) {
    const int y = plot.bottom() - static_cast<int>(hours / top * plot.height());
    painter.setPen(grid);
    painter.drawLine(plot.left(), y, plot.right(), y);
    if (mark % labelEvery != 0) continue;
    painter.setPen(colours.color(QPalette::Text));
    painter.drawText(QRect(0, y - line / 2, left - line / 2, line),
                     Qt::AlignRight | Qt::AlignVCenter, hoursText(hours));
  }

  const int count = std::max<int>(1, static_cast<int>(seconds_.size()));
  const double slot = static_cast<double>(plot.width()) / count;
  const QColor bar = colours.color(QPalette::Highlight);
  // Day numbers as many as fit side by side, with a space between them.
  const int labelWidth = metrics.horizontalAdvance(QStringLiteral("30")) + line / 2;
  const std::vector<int> labelled = labelledBars(dayNumbers_, dayLabelStep(slot, labelWidth));
  for (int i = 0; i < static_cast<int>(seconds_.size()); ++i) {
    const int x = plot.left() + static_cast<int>(i * slot);
    const int w = std::max(1, static_cast<int>(slot * 0.7));
    const int h = static_cast<int>(seconds_[i] / unit / top * plot.height());
    if (h > 0)
      painter.fillRect(QRect(x + static_cast<int>(slot * 0.15), plot.bottom() - h + 1, w, h), bar);
  }
  painter.setPen(colours.color(QPalette::Text));
  for (int i : labelled) {
    const int centre = plot.left() + static_cast<int>(i * slot) + static_cast<int>(slot / 2);
    painter.drawText(QRect(centre - labelWidth / 2, plot.bottom() + 4, labelWidth, line),
                     Qt::AlignHCenter | Qt::AlignTop,
                     QString::number(dayNumbers_[static_cast<std::size_t>(i)]));
  }
  painter.setPen(colours.color(QPalette::Text));
  painter.drawLine(plot.bottomLeft(), plot.bottomRight());
  painter.drawLine(plot.bottomLeft(), plot.topLeft());
}

}  // namespace tempodial

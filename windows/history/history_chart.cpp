#include "windows/history/history_chart.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

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

void HistoryChart::setDays(std::vector<qint64> perDay, ChartMeasure measure) {
  seconds_ = std::move(perDay);
  measure_ = measure;
  qint64 total = 0;
  int used = 0;
  for (qint64 s : seconds_) {
    total += s;
    used += s > 0;
  }
  const bool time = measure == ChartMeasure::Time;
  setAccessibleName(time ? QStringLiteral("Time per day") : QStringLiteral("Data per day"));
  setAccessibleDescription(
      QStringLiteral("%1 of %2 days with %3, %4 in all")
          .arg(used)
          .arg(seconds_.size())
          .arg(time ? QStringLiteral("sessions") : QStringLiteral("data"))
          .arg(time ? QString::number(total / 3600.0, 'f', 1) + QStringLiteral(" hours")
                    : QString::fromStdString(volumeText(total))));
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

  // Room for the axis labels: the hours (or MB) on the left, the days below,
  // and the axis titles.
  const QString title =
      measure_ == ChartMeasure::Time ? QStringLiteral("Hours") : QStringLiteral("MB");
  const int left =
      std::max(metrics.horizontalAdvance(hoursText(top)), metrics.horizontalAdvance(title)) + line;
  const QRect plot(left, line * 2, std::max(1, width() - left - line),
                   std::max(1, height() - line * 5));

  painter.setPen(colours.color(QPalette::Text));
  painter.drawText(QRect(0, 0, left + plot.width(), line), Qt::AlignLeft | Qt::AlignVCenter, title);
  painter.drawText(QRect(plot.left(), plot.bottom() + line * 2, plot.width(), line + 4),
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
  for (int i = 0; i < static_cast<int>(seconds_.size()); ++i) {
    const int x = plot.left() + static_cast<int>(i * slot);
    const int w = std::max(1, static_cast<int>(slot * 0.7));
    const int h = static_cast<int>(seconds_[i] / unit / top * plot.height());
    if (h > 0)
      painter.fillRect(QRect(x + static_cast<int>(slot * 0.15), plot.bottom() - h + 1, w, h), bar);
    // Day numbers: the first, then every fifth, as room allows.
    const int day = i + 1;
    if (day == 1 || day % 5 == 0) {
      painter.setPen(colours.color(QPalette::Text));
      painter.drawText(
          QRect(x - static_cast<int>(slot), plot.bottom() + 4, static_cast<int>(slot * 3), line),
          Qt::AlignHCenter | Qt::AlignTop, QString::number(day));
    }
  }
  painter.setPen(colours.color(QPalette::Text));
  painter.drawLine(plot.bottomLeft(), plot.bottomRight());
  painter.drawLine(plot.bottomLeft(), plot.topLeft());
}

}  // namespace tempodial

#include "windows/history/history_chart.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tempodial {
namespace {

// A step of the hours axis that gives at most about five marks.
double hourStep(double topHours) {
  for (double step : {0.25, 0.5, 1.0, 2.0, 3.0, 4.0, 6.0, 12.0}) {
    if (topHours / step <= 5) return step;
  }
  return 24;
}

QString hoursText(double hours) { return QString::number(hours, 'g', 4); }

}  // namespace

HistoryChart::HistoryChart(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("chart"));
  setAccessibleName(QStringLiteral("Time per day"));
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

void HistoryChart::setDays(std::vector<qint64> secondsPerDay) {
  seconds_ = std::move(secondsPerDay);
  qint64 total = 0;
  int used = 0;
  for (qint64 s : seconds_) {
    total += s;
    used += s > 0;
  }
  setAccessibleDescription(QStringLiteral("%1 of %2 days with sessions, %3 hours in all")
                               .arg(used)
                               .arg(seconds_.size())
                               .arg(QString::number(total / 3600.0, 'f', 1)));
  update();
}

void HistoryChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, false);
  const QPalette& colours = palette();
  const QFontMetrics metrics = fontMetrics();
  const int line = metrics.height();

  const qint64 most = seconds_.empty() ? 0 : *std::max_element(seconds_.begin(), seconds_.end());
  const double hours = std::max(most / 3600.0, 1.0);
  const double step = hourStep(hours);
  const double top = std::ceil(hours / step) * step;

  // Room for the axis labels: the hours on the left, the days below, and the
  // axis titles.
  const QString title = QStringLiteral("Hours");
  const int left =
      std::max(metrics.horizontalAdvance(hoursText(top)), metrics.horizontalAdvance(title)) + line;
  const QRect plot(left, line * 2, std::max(1, width() - left - line),
                   std::max(1, height() - line * 5));

  painter.setPen(colours.color(QPalette::Text));
  painter.drawText(QRect(0, 0, left + plot.width(), line), Qt::AlignLeft | Qt::AlignVCenter, title);
  painter.drawText(QRect(plot.left(), plot.bottom() + line * 2, plot.width(), line + 4),
                   Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Day of the month"));

  // The hour marks and their grid lines.
  QColor grid = colours.color(QPalette::Text);
  grid.setAlpha(50);
  for (double hours = 0; hours <= top + 1e-9; hours += step) {
    const int y = plot.bottom() - static_cast<int>(hours / top * plot.height());
    painter.setPen(grid);
    painter.drawLine(plot.left(), y, plot.right(), y);
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
    const int h = static_cast<int>(seconds_[i] / 3600.0 / top * plot.height());
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

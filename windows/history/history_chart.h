// The History window's bar chart: the time (in hours) or the data (in MB) of
// each day of a month, drawn with the palette's colours so that it reads in light and dark themes
// and at any scale.
#pragma once

#include <QWidget>
#include <vector>

namespace tempodial {

// What the bars measure: seconds, or bytes received and sent.
enum class ChartMeasure { Time, Data };

class HistoryChart : public QWidget {
  Q_OBJECT
 public:
  explicit HistoryChart(QWidget* parent);

  // Seconds or bytes per day, the first day first; one bar each.
  void setDays(std::vector<qint64> perDay, ChartMeasure measure = ChartMeasure::Time);
  const std::vector<qint64>& days() const { return seconds_; }
  ChartMeasure measure() const { return measure_; }

  // Which day numbers the axis shows when each day has `slot` pixels and a
  // number needs `labelWidth`: the first day, then every `step`-th
  // (1, 2: every other one from the first, 5, 10 or 15) as the room allows;
  // 0 when only the first fits. Numbers never overlap.
  static int dayLabelStep(double slot, int labelWidth);
  static bool labelsDay(int day, int step);

  QSize sizeHint() const override { return {480, 200}; }
  // At least the axis titles and labels (five lines of text) and a plot two
  // lines high, so that the window fits a small screen at a large scale.
  QSize minimumSizeHint() const override { return {240, fontMetrics().height() * 7}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<qint64> seconds_;
  ChartMeasure measure_ = ChartMeasure::Time;
};

}  // namespace tempodial

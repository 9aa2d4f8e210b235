// The History window's bar chart: the time (in hours) or the data (in MB) of
// each day of a month (which may begin on any day), drawn with the palette's colours so that it
// reads in light and dark themes and at any scale.
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

  // Seconds or bytes per day, the first day first; one bar each. The first
  // bar is day `firstDay` of its month, which has `firstMonthDays` days.
  void setDays(std::vector<qint64> perDay, ChartMeasure measure = ChartMeasure::Time,
               int firstDay = 1, int firstMonthDays = 31);
  const std::vector<qint64>& days() const { return seconds_; }
  ChartMeasure measure() const { return measure_; }

  // Which day numbers the axis shows when each day has `slot` pixels and a
  // number needs `labelWidth`: the first day, then every `step`-th
  // (1, 2: every other one from the first, 5, 10 or 15) as the room allows;
  // 0 when only the first fits. Numbers never overlap.
  static int dayLabelStep(double slot, int labelWidth);
  static bool labelsDay(int day, int step);
  // The bars whose day numbers (`dayNumbers`, one a bar) the axis shows at
  // `step`: those labelsDay() names, less any that would come nearer to the
  // one before than the step's numbers ever do (the 1st after the 30th).
  static std::vector<int> labelledBars(const std::vector<int>& dayNumbers, int step);
  // The day of the month of each bar.
  const std::vector<int>& dayNumbers() const { return dayNumbers_; }

  QSize sizeHint() const override { return {480, 200}; }
  // At least the axis titles and labels (five lines of text) and a plot two
  // lines high, so that the window fits a small screen at a large scale.
  QSize minimumSizeHint() const override { return {240, fontMetrics().height() * 7}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<qint64> seconds_;
  std::vector<int> dayNumbers_;
  ChartMeasure measure_ = ChartMeasure::Time;
};

}  // namespace tempodial

// The History window's bar chart: the time of each day of a month, in hours,
// drawn with the palette's colours so that it reads in light and dark themes
// and at any scale.
#pragma once

#include <QWidget>
#include <vector>

namespace tempodial {

class HistoryChart : public QWidget {
  Q_OBJECT
 public:
  explicit HistoryChart(QWidget* parent);

  // Seconds per day, the first day first; one bar each.
  void setDays(std::vector<qint64> secondsPerDay);
  const std::vector<qint64>& days() const { return seconds_; }

  QSize sizeHint() const override { return {480, 200}; }
  QSize minimumSizeHint() const override { return {240, 120}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<qint64> seconds_;
};

}  // namespace tempodial

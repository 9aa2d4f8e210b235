// The History window's period bar: back and forward (also Alt+Left and
// Alt+Right from anywhere in the window), the month or year shown, and the
// days of a month that runs from a billing day ("15 Dec - 14 Jan").
#pragma once

#include <QObject>

class QDate;
class QDateEdit;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace tempodial {

class PeriodBar : public QObject {
  Q_OBJECT
 public:
  // Makes the controls in `area`, and the keys in `window`.
  PeriodBar(QWidget* area, QWidget* window);

  // The controls in a row, to be placed at the top of the window.
  QHBoxLayout* row() const { return row_; }
  // Shows a year ("2026") rather than a month ("December 2026").
  void setYearView(bool year);

  QPushButton* previous;
  QDateEdit* period;
  QLabel* periodDays;
  QPushButton* next;

 Q_SIGNALS:
  // One month or year back (-1) or forward (1).
  void stepped(int by);
  void dateChosen(const QDate& date);

 private:
  QHBoxLayout* row_;
};

// A push button with its name, caption and accessible name (by default the
// caption without its '&').
QPushButton* historyButton(QWidget* parent, const char* name, const QString& caption,
                           const QString& accessible = {});

}  // namespace tempodial

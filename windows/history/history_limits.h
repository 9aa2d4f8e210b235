// The History window's "Limits" group: a daily and a monthly limit of time
// (hours and minutes), of cost (in the currency in use) and of data (in MB of
// 1,000,000 bytes), each optional, kept in the settings file as soon as they
// change; and the day of the month that months begin on, which the window
// keeps.
#pragma once

#include <QGroupBox>
#include <QStringList>

#include "core/history/limits.h"

class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;

namespace tempodial {

class LimitsGroup : public QGroupBox {
  Q_OBJECT
 public:
  // `currency` is the symbol the cost limits are shown in.
  LimitsGroup(QWidget* parent, const QString& currency);
  // The currency in use changed: the cost limits are shown in it.
  void setCurrency(const QString& currency);

  // The limits as the controls show them; a limit whose controls still show
  // what the settings file held stays as the file holds it, even where the
  // controls cannot show it exactly (seconds, a part of an MB, more MB than
  // the box holds).
  Limits limits() const;

  QCheckBox* dayTimeOn;
  QSpinBox* dayHours;
  QSpinBox* dayMinutes;
  QCheckBox* monthTimeOn;
  QSpinBox* monthHours;
  QSpinBox* monthMinutes;
  QCheckBox* dayCostOn;
  QDoubleSpinBox* dayCost;
  QCheckBox* monthCostOn;
  QDoubleSpinBox* monthCost;
  QCheckBox* dayDataOn;
  QSpinBox* dayData;
  QCheckBox* monthDataOn;
  QSpinBox* monthData;
  QSpinBox* billingDay;  // 1 to 31

 Q_SIGNALS:
  // The user chose another billing day.
  void billingDayChosen(int day);

 private:
  void show(const Limits& limits);
  // The limits as the controls show them, nothing kept.
  Limits shown() const;
  // What each limit's controls show, one entry a limit.
  QStringList controlStates() const;
  void save();
  bool loading_ = false;
  Limits loaded_;             // as the settings file held them
  QStringList loadedStates_;  // as the controls showed them then
};

}  // namespace tempodial

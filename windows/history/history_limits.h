// The History window's "Limits" group: a daily and a monthly limit of time
// (hours and minutes), of cost (in the currency in use) and of data (in MB of
// 1,000,000 bytes), each optional, kept in the settings file as soon as they
// change.
#pragma once

#include <QGroupBox>

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

  // The limits as the controls show them.
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

 private:
  void show(const Limits& limits);
  void save();
  bool loading_ = false;
};

}  // namespace tempodial

#include "windows/history/history_limits.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <algorithm>

#include "core/history/limit_setting.h"
#include "platform/files/settings_file.h"

namespace tempodial {
namespace {

// The hours of the longest time limit the settings file may hold.
constexpr int kMostHours = static_cast<int>(kMostLimitSeconds / 3600);
constexpr std::int64_t kMegabyte = 1'000'000;
constexpr int kMostMegabytes = 100'000'000;  // 100 TB

QCheckBox* switchBox(QWidget* parent, const char* name, const QString& caption) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
  return box;
}

QSpinBox* countBox(QWidget* parent, const char* name, const QString& accessible, int most,
                   const QString& suffix) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setAccessibleName(accessible);
  box->setRange(0, most);
  box->setSuffix(suffix);
  return box;
}

// A symbol of more than one character stands apart from the amount.
void showCurrency(QDoubleSpinBox* box, const QString& currency) {
  box->setPrefix(currency.size() > 1 ? currency + QLatin1Char(' ') : currency);
}

QDoubleSpinBox* amountBox(QWidget* parent, const char* name, const QString& accessible,
                          const QString& currency) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setAccessibleName(accessible);
  // Every limit the settings file may hold can be shown.
  box->setRange(0, static_cast<double>(kMostLimitAmount));
  box->setDecimals(2);
  showCurrency(box, currency);
  return box;
}

}  // namespace

void LimitsGroup::setCurrency(const QString& currency) {
  showCurrency(dayCost, currency);
  showCurrency(monthCost, currency);
}

LimitsGroup::LimitsGroup(QWidget* parent, const QString& currency)
    : QGroupBox(QStringLiteral("Limits"), parent) {
  setObjectName(QStringLiteral("limits"));
  setAccessibleName(QStringLiteral("Limits"));
  dayTimeOn = switchBox(this, "dayTimeOn", QStringLiteral("Daily &time"));
  dayHours = countBox(this, "dayHours", QStringLiteral("Daily time hours"), kMostHours,
                      QStringLiteral(" h"));
  dayMinutes = countBox(this, "dayMinutes", QStringLiteral("Daily time minutes"), 59,
                        QStringLiteral(" min"));
  monthTimeOn = switchBox(this, "monthTimeOn", QStringLiteral("Monthly t&ime"));
  monthHours = countBox(this, "monthHours", QStringLiteral("Monthly time hours"), kMostHours,
                        QStringLiteral(" h"));
  monthMinutes = countBox(this, "monthMinutes", QStringLiteral("Monthly time minutes"), 59,
                          QStringLiteral(" min"));
  dayCostOn = switchBox(this, "dayCostOn", QStringLiteral("Daily c&ost"));
  dayCost = amountBox(this, "dayCost", QStringLiteral("Daily cost limit"), currency);
  monthCostOn = switchBox(this, "monthCostOn", QStringLiteral("Monthly co&st"));
  monthCost = amountBox(this, "monthCost", QStringLiteral("Monthly cost limit"), currency);
  dayDataOn = switchBox(this, "dayDataOn", QStringLiteral("Daily d&ata"));
  dayData = countBox(this, "dayData", QStringLiteral("Daily data limit"), kMostMegabytes,
                     QStringLiteral(" MB"));
  monthDataOn = switchBox(this, "monthDataOn", QStringLiteral("Mont&hly data"));
  monthData = countBox(this, "monthData", QStringLiteral("Monthly data limit"), kMostMegabytes,
                       QStringLiteral(" MB"));

  billingDay = countBox(this, "billingDay", QStringLiteral("Billing day"), 31, QString());
  billingDay->setMinimum(1);
  billingDay->setValue(loadBillingDay());
  auto* billingLabel = new QLabel(QStringLiteral("&Billing day"), this);
  billingLabel->setObjectName(QStringLiteral("billingDayLabel"));
  billingLabel->setBuddy(billingDay);
  billingDay->setToolTip(
      QStringLiteral("The day of the month your bill starts on (in a shorter month, its last "
                     "day): months, their limits and a plan's data allowance run from it"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(dayTimeOn, 0, 0);
  grid->addWidget(dayHours, 0, 1);
  grid->addWidget(dayMinutes, 0, 2);
  grid->addWidget(monthTimeOn, 1, 0);
  grid->addWidget(monthHours, 1, 1);
  grid->addWidget(monthMinutes, 1, 2);
  grid->addWidget(dayCostOn, 2, 0);
  grid->addWidget(dayCost, 2, 1, 1, 2);
  grid->addWidget(monthCostOn, 3, 0);
  grid->addWidget(monthCost, 3, 1, 1, 2);
  grid->addWidget(dayDataOn, 4, 0);
  grid->addWidget(dayData, 4, 1, 1, 2);
  grid->addWidget(monthDataOn, 5, 0);
  grid->addWidget(monthData, 5, 1, 1, 2);
  grid->addWidget(billingLabel, 6, 0);
  grid->addWidget(billingDay, 6, 1, 1, 2);
  auto* note = new QLabel(
      QStringLiteral("While the clock runs, a warning comes at 80 % and at 100 % of each limit, "
                     "once a day or month. The clock goes on."),
      this);
  note->setObjectName(QStringLiteral("limitsNote"));
  note->setWordWrap(true);
  grid->addWidget(note, 7, 0, 1, 4);  // the whole width: fewer lines
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(8, 1);

  show(loadLimits());
  for (QCheckBox* box : {dayTimeOn, monthTimeOn, dayCostOn, monthCostOn, dayDataOn, monthDataOn}) {
    connect(box, &QCheckBox::toggled, this, &LimitsGroup::save);
  }
  for (QSpinBox* box : {dayHours, dayMinutes, monthHours, monthMinutes, dayData, monthData}) {
    connect(box, &QSpinBox::valueChanged, this, &LimitsGroup::save);
  }
  for (QDoubleSpinBox* box : {dayCost, monthCost}) {
    connect(box, &QDoubleSpinBox::valueChanged, this, &LimitsGroup::save);
  }
  connect(billingDay, &QSpinBox::valueChanged, this, &LimitsGroup::billingDayChosen);
}

void LimitsGroup::show(const Limits& limits) {
  loading_ = true;
  auto time = [](std::optional<std::int64_t> seconds, QCheckBox* on, QSpinBox* hours,
                 QSpinBox* minutes) {
    on->setChecked(seconds.has_value());
    // A part of a minute shows as a whole one: a limit shown never reads
    // 0 h 0 min.
    const std::int64_t value = (seconds.value_or(0) + 59) / 60 * 60;
    hours->setValue(static_cast<int>(value / 3600));
    minutes->setValue(static_cast<int>(value / 60 % 60));
  };
  time(limits.dayTime, dayTimeOn, dayHours, dayMinutes);
  time(limits.monthTime, monthTimeOn, monthHours, monthMinutes);
  dayCostOn->setChecked(limits.dayCost.has_value());
  dayCost->setValue(limits.dayCost.value_or(0));
  monthCostOn->setChecked(limits.monthCost.has_value());
  monthCost->setValue(limits.monthCost.value_or(0));
  auto data = [](std::optional<std::int64_t> bytes, QCheckBox* on, QSpinBox* megabytes) {
    on->setChecked(bytes.has_value());
    megabytes->setValue(static_cast<int>(
        std::min<std::int64_t>((bytes.value_or(0) + kMegabyte / 2) / kMegabyte, kMostMegabytes)));
  };
  data(limits.dayData, dayDataOn, dayData);
  data(limits.monthData, monthDataOn, monthData);
  loaded_ = limits;
  loadedStates_ = controlStates();
  loading_ = false;
}

QStringList LimitsGroup::controlStates() const {
  const auto state = [](QCheckBox* on, QAbstractSpinBox* first, QAbstractSpinBox* second) {
    return QStringLiteral("%1 %2 %3")
        .arg(on->isChecked())
        .arg(first->text(), second != nullptr ? second->text() : QString());
  };
  return {state(dayTimeOn, dayHours, dayMinutes), state(monthTimeOn, monthHours, monthMinutes),
          state(dayCostOn, dayCost, nullptr),     state(monthCostOn, monthCost, nullptr),
          state(dayDataOn, dayData, nullptr),     state(monthDataOn, monthData, nullptr)};
}

Limits LimitsGroup::limits() const {
  Limits limits = shown();
  const QStringList states = controlStates();
  const auto keep = [&](int index, auto& now, const auto& file) {
    if (states.value(index) == loadedStates_.value(index)) now = file;
  };
  keep(0, limits.dayTime, loaded_.dayTime);
  keep(1, limits.monthTime, loaded_.monthTime);
  keep(2, limits.dayCost, loaded_.dayCost);
  keep(3, limits.monthCost, loaded_.monthCost);
  keep(4, limits.dayData, loaded_.dayData);
  keep(5, limits.monthData, loaded_.monthData);
  return limits;
}

Limits LimitsGroup::shown() const {
  // A limit switched on but left at nothing is no limit.
  auto time = [](QCheckBox* on, QSpinBox* hours, QSpinBox* minutes) -> std::optional<std::int64_t> {
    const std::int64_t seconds =
        std::int64_t{hours->value()} * 3600 + std::int64_t{minutes->value()} * 60;
    if (!on->isChecked() || seconds <= 0) return std::nullopt;
    return seconds;
  };
  auto amount = [](QCheckBox* on, QDoubleSpinBox* box) -> std::optional<double> {
    if (!on->isChecked() || box->value() <= 0) return std::nullopt;
    return box->value();
  };
  Limits limits;
  limits.dayTime = time(dayTimeOn, dayHours, dayMinutes);
  limits.monthTime = time(monthTimeOn, monthHours, monthMinutes);
  limits.dayCost = amount(dayCostOn, dayCost);
  limits.monthCost = amount(monthCostOn, monthCost);
  auto data = [](QCheckBox* on, QSpinBox* megabytes) -> std::optional<std::int64_t> {
    if (!on->isChecked() || megabytes->value() <= 0) return std::nullopt;
    return std::int64_t{megabytes->value()} * kMegabyte;
  };
  limits.dayData = data(dayDataOn, dayData);
  limits.monthData = data(monthDataOn, monthData);
  return limits;
}

void LimitsGroup::save() {
  if (loading_) return;
  saveLimits(limits());
}

}  // namespace tempodial

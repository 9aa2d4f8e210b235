#include "windows/history/totals_model.h"

#include "core/history/history.h"
#include "windows/history/history_tables.h"

namespace tempodial {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QStringList texts(const QString& name, const PeriodTotal& total) {
  QStringList texts{name, QString::number(total.sessions), qt(durationText(total.seconds)),
                    qt(total.cost.text())};
  for (const std::string& bytes : periodVolumeTexts(total)) texts << qt(bytes);
  return texts;
}

}  // namespace

TotalsModel::TotalsModel(const QString& period, QObject* parent)
    : QStandardItemModel(0, 7, parent) {
  setHorizontalHeaderLabels({period, QStringLiteral("Sessions"), QStringLiteral("Time"),
                             QStringLiteral("Cost"), QStringLiteral("Received"),
                             QStringLiteral("Sent"), QStringLiteral("Data")});
}

void TotalsModel::clearTotals() {
  removeRows(0, rowCount());
  sum_ = {};
}

void TotalsModel::addPeriod(const QString& name, const PeriodTotal& total, const QVariant& date) {
  appendRow(historyRow(texts(name, total)));
  if (date.isValid()) item(rowCount() - 1, 0)->setData(date);
  sum_.add(total);
}

void TotalsModel::addSum(const QString& name) { appendRow(historyRow(texts(name, sum_), true)); }

}  // namespace tempodial

#include "windows/plans/plan_editor.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <string>
#include <variant>
#include <vector>

#include "core/plans/plan_file.h"
#include "core/volume/data_volume.h"
#include "windows/plans/plans_window.h"

namespace tempodial {
namespace {

enum Column { kNameCol, kDaysCol, kDatesCol, kFromCol, kToCol, kRateCol };
constexpr const char* kColumnKeys[] = {"name", "days", "dates", "from", "to", "rate"};
constexpr const char* kColumnNames[] = {"Name", "Days", "Dates", "From", "To", "Rate"};

QString cell(const QTableWidget& table, int row, int column) {
  const QTableWidgetItem* item = table.item(row, column);
  return item == nullptr ? QString() : item->text().trimmed();
}

void setCell(QTableWidget& table, int row, int column, const std::string& text) {
  table.setItem(row, column, new QTableWidgetItem(QString::fromStdString(text)));
}

QString dateText(const std::optional<plans::RuleDate>& date) {
  return date ? QString::fromStdString(plans::ruleDateText(*date)) : QString();
}

// A value as a plan file line holds it: quoted where a ";" would end it.
std::string valueText(const QString& value) {
  const std::string text = value.trimmed().toStdString();
  return text.find(';') != std::string::npos ? "\"" + text + "\"" : text;
}

}  // namespace

void showPlanInEditor(PlansWindow& window, const plans::Plan& plan) {
  window.planName->setText(QString::fromStdString(plan.name));
  window.currency->setText(QString::fromStdString(plan.currency));
  window.connection->setText(QString::fromStdString(plans::minorUnitsText(plan.connection)));
  window.minimum->setText(QString::fromStdString(plans::minorUnitsText(plan.minimum)));
  window.step->setValue(plan.step);
  window.rate->setText(QString::fromStdString(plans::minorUnitsText(plan.rate)));
  window.perMb->setText(
      plan.perMb == 0 ? QString() : QString::fromStdString(plans::minorUnitsText(plan.perMb)));
  window.allowance->setText(plan.allowanceBytes
                                ? QString::fromStdString(megabytesText(*plan.allowanceBytes))
                                : QString());
  window.validFrom->setText(dateText(plan.validFrom));
  window.validUntil->setText(dateText(plan.validUntil));
  QTableWidget& table = *window.rules;
  table.setRowCount(static_cast<int>(plan.rules.size()));
  for (int row = 0; row < table.rowCount(); ++row) {
    const plans::Rule& rule = plan.rules[static_cast<std::size_t>(row)];
    setCell(table, row, kNameCol, rule.name);
    setCell(table, row, kDaysCol, rule.days == 0 ? "" : plans::daysText(rule.days));
    setCell(table, row, kDatesCol, plans::datesText(rule));
    setCell(table, row, kFromCol, rule.fromMin ? plans::timeText(*rule.fromMin) : "");
    setCell(table, row, kToCol, rule.toMin ? plans::timeText(*rule.toMin) : "");
    setCell(table, row, kRateCol, plans::minorUnitsText(rule.rate));
  }
}

Result<plans::Plan> planFromEditor(PlansWindow& window) {
  using R = Result<plans::Plan>;
  if (window.planName->text().trimmed().isEmpty()) {
    return R::Error("The plan needs a name.", StatusKind::Invalid);
  }
  // The fields are written as a plan file and read as one, so that the editor
  // accepts exactly what a file may hold; each line remembers its field.
  std::string text = "[plan]\n";
  std::vector<QString> fieldOfLine{QString(), QString()};
  const auto line = [&](const std::string& key, const QString& value, const QString& field) {
    text += key + "=" + valueText(value) + "\n";
    fieldOfLine.push_back(field);
  };
  line("name", window.planName->text(), QStringLiteral("Name"));
  line("currency", window.currency->text(), QStringLiteral("Currency"));
  line("connection", window.connection->text(), QStringLiteral("Connection"));
  line("minimum", window.minimum->text(), QStringLiteral("Minimum"));
  line("step", QString::number(window.step->value()), QStringLiteral("Charging step"));
  line("rate", window.rate->text(), QStringLiteral("Default rate"));
  const std::pair<const char*, QLineEdit*> optional[] = {{"per_mb", window.perMb},
                                                         {"allowance_mb", window.allowance},
                                                         {"valid_from", window.validFrom},
                                                         {"valid_until", window.validUntil}};
  for (const auto& [key, edit] : optional) {
    if (!edit->text().trimmed().isEmpty()) line(key, edit->text(), edit->accessibleName());
  }
  const QTableWidget& table = *window.rules;
  for (int row = 0; row < table.rowCount(); ++row) {
    text += "[rule" + std::to_string(row + 1) + "]\n";
    const QString where = QStringLiteral("Rule %1, ").arg(row + 1);
    fieldOfLine.push_back(where);
    for (int column = kNameCol; column <= kRateCol; ++column) {
      const QString value = cell(table, row, column);
      if (value.isEmpty() && column != kRateCol) continue;
      line(kColumnKeys[column], value, where + QString::fromLatin1(kColumnNames[column]));
    }
  }
  auto read = plans::readPlan(text, "");
  if (auto* fault = std::get_if<plans::PlanError>(&read)) {
    const bool known = fault->line > 0 && fault->line < static_cast<int>(fieldOfLine.size());
    // A fault of the whole file is of its default rate or its dates of validity.
    QString field = known ? fieldOfLine[static_cast<std::size_t>(fault->line)]
                    : fault->key == "valid_until" ? window.validUntil->accessibleName()
                                                  : QStringLiteral("Default rate");
    // A fault of a whole rule names the key at fault.
    for (int column = kNameCol; column <= kRateCol; ++column) {
      if (field.endsWith(QLatin1String(", ")) && fault->key == kColumnKeys[column]) {
        field += QString::fromLatin1(kColumnNames[column]);
      }
    }
    return R::Error((field + QStringLiteral(": ")).toStdString() + fault->what,
                    StatusKind::Invalid);
  }
  return R::Value(std::get<plans::Plan>(std::move(read)));
}

void PlansWindow::addRule() {
  const int row = rules->rowCount();
  rules->insertRow(row);
  rules->setItem(row, kRateCol, new QTableWidgetItem(rate->text().trimmed()));
  rules->setCurrentCell(row, kDaysCol);
}

void PlansWindow::removeRule() {
  const int row = rules->currentRow();
  if (row >= 0) rules->removeRow(row);
}

void PlansWindow::moveRule(int by) {
  const int row = rules->currentRow();
  const int to = row + by;
  if (row < 0 || to < 0 || to >= rules->rowCount()) return;
  for (int column = kNameCol; column <= kRateCol; ++column) {
    QTableWidgetItem* a = rules->takeItem(row, column);
    QTableWidgetItem* b = rules->takeItem(to, column);
    rules->setItem(row, column, b);
    rules->setItem(to, column, a);
  }
  rules->setCurrentCell(to, rules->currentColumn());
}

}  // namespace tempodial

// The journal's day totals against the sums of its rows: the rows of the
// two that differ, as text (empty when they agree).
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include "platform/journal/journal_schema.h"

namespace tempodial {

inline QStringList dayTotalsMismatch(const QSqlDatabase& db) {
  installCostFunction(db);
  const QString fromRows = QStringLiteral(
      "SELECT date(start_utc + utc_offset, 'unixepoch'), currency, COUNT(*), SUM(seconds),"
      " SUM(tempodial_cost(cost_start, cost_end)) FROM sessions GROUP BY 1, 2");
  const QString kept =
      QStringLiteral("SELECT day, currency, sessions, seconds, cost FROM day_totals");
  QStringList differ;
  QSqlQuery query(db);
  for (const auto& [label, a, b] :
       {std::tuple{"rows only: ", fromRows, kept}, std::tuple{"totals only: ", kept, fromRows}}) {
    if (!query.exec(a + QStringLiteral(" EXCEPT ") + b)) return {QStringLiteral("query failed")};
    while (query.next()) {
      QStringList fields;
      for (int i = 0; i < 5; ++i) fields << query.value(i).toString();
      differ << QString::fromLatin1(label) + fields.join(QLatin1Char(' '));
    }
  }
  return differ;
}

}  // namespace tempodial

// The journal's day totals against the sums of its rows (sessions, time,
// cost, bytes and the sessions whose bytes are not known): the rows of the
// two that differ, as text (empty when they agree). And a journal as the
// first layout wrote it, to be brought up to date.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <string>
#include <vector>

#include "platform/journal/journal_schema.h"

namespace tempodial {

inline QStringList dayTotalsMismatch(const QSqlDatabase& db) {
  installCostFunction(db);
  const QString fromRows = QStringLiteral(
      "SELECT date(start_utc + utc_offset, 'unixepoch'), currency, COUNT(*), SUM(seconds),"
      " SUM(tempodial_cost(cost_start, cost_end)), SUM(COALESCE(received_bytes, 0)),"
      " SUM(COALESCE(sent_bytes, 0)), SUM(received_bytes IS NULL) FROM sessions GROUP BY 1, 2");
  const QString kept = QStringLiteral(
      "SELECT day, currency, sessions, seconds, cost, received, sent, unknown_bytes"
      " FROM day_totals");
  QStringList differ;
  QSqlQuery query(db);
  for (const auto& [label, a, b] :
       {std::tuple{"rows only: ", fromRows, kept}, std::tuple{"totals only: ", kept, fromRows}}) {
    if (!query.exec(a + QStringLiteral(" EXCEPT ") + b)) return {QStringLiteral("query failed")};
    while (query.next()) {
      QStringList fields;
      for (int i = 0; i < 8; ++i) fields << query.value(i).toString();
      differ << QString::fromLatin1(label) + fields.join(QLatin1Char(' '));
    }
  }
  return differ;
}

// A stopped run as a journal row.
struct JournalRun {
  qint64 startUtc;
  int offset;
  qint64 seconds;
  std::string costStart, costEnd, currency;
};

// Writes `runs` into a new journal of the first layout at `path`.
inline bool writeFirstLayout(const QString& path, const std::vector<JournalRun>& runs) {
  bool ok = false;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("first"));
    db.setDatabaseName(path);
    ok = db.open();
    QSqlQuery query(db);
    for (const char* sql : journalSteps().front()) ok = ok && query.exec(QString::fromUtf8(sql));
    ok = ok && query.exec(QStringLiteral("PRAGMA user_version=1")) && db.transaction() &&
         query.prepare(QStringLiteral(
             "INSERT INTO sessions (start_utc, utc_offset, end_utc, seconds, cost_start, cost_end,"
             " tariff, rate, currency, hours, minutes, secs, end_kind)"
             " VALUES (?, ?, ?, ?, ?, ?, 'Day', 1.4, ?, '0', '0', '0', 'stopped')"));
    for (const JournalRun& run : runs) {
      for (const QVariant& value :
           {QVariant(run.startUtc), QVariant(run.offset), QVariant(run.startUtc + run.seconds),
            QVariant(run.seconds), QVariant(QString::fromStdString(run.costStart)),
            QVariant(QString::fromStdString(run.costEnd)),
            QVariant(QString::fromStdString(run.currency))}) {
        query.addBindValue(value);
      }
      ok = ok && query.exec();
    }
    ok = ok && db.commit();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("first"));
  return ok;
}

}  // namespace tempodial

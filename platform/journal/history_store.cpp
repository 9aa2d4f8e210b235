#include "platform/journal/history_store.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "core/history/csv_text.h"
#include "core/values/number_text.h"
#include "platform/journal/journal_schema.h"
#include "platform/journal/session_times.h"

namespace tempodial {
namespace {

// A session's start counts on its local date; the start-time index narrows
// the search to a range wide enough for any offset from UTC.
constexpr qint64 kMargin = 86400;
constexpr const char* kLocalDate = "date(start_utc + utc_offset, 'unixepoch')";

Status failure(const QSqlQuery& query) {
  QString text = query.lastError().databaseText();
  if (text.isEmpty()) text = query.lastError().text();
  return Status::Error(text.toStdString());
}

QString text(const CivilDate& date) { return QString::fromStdString(dateText(date)); }

CivilDate dateOf(const QString& text) {
  const QStringList parts = text.split(QLatin1Char('-'));
  if (parts.size() != 3) return {};
  return {parts[0].toInt(), parts[1].toInt(), parts[2].toInt()};
}

// Binds the range of local start dates from `from` to `to`.
void bindRange(QSqlQuery& query, const CivilDate& from, const CivilDate& to) {
  query.bindValue(QStringLiteral(":lo"), daysFromCivil(from) - kMargin);
  query.bindValue(QStringLiteral(":hi"), daysFromCivil(to) + 2 * kMargin);
  query.bindValue(QStringLiteral(":from"), text(from));
  query.bindValue(QStringLiteral(":to"), text(to));
}

QString rangeCondition() {
  return QStringLiteral("start_utc >= :lo AND start_utc < :hi AND %1 BETWEEN :from AND :to")
      .arg(QLatin1String(kLocalDate));
}

}  // namespace

HistoryStore::HistoryStore(QSqlDatabase database) : connection_(database.connectionName()) {
  usable_ = database.isOpen() && installCostFunction(database);
}

Result<std::vector<PeriodTotal>> HistoryStore::grouped(
    const CivilDate& from, const CivilDate& to,
    const std::function<CivilDate(const CivilDate&)>& periodOf) const {
  using R = Result<std::vector<PeriodTotal>>;
  if (!usable_) return R::Error("the history cannot be read");
  QSqlQuery query(db());
  query.setForwardOnly(true);
  // The day totals' key is the local date, so a range of it is a range of
  // the table's primary key: a month reads about thirty rows per currency,
  // and none of the sessions' rows.
  query.prepare(QStringLiteral(
      "SELECT day, currency, SUM(sessions), SUM(seconds), SUM(cost), SUM(received),"
      " SUM(sent), SUM(unknown_bytes) FROM day_totals WHERE day BETWEEN :from AND :to"
      " GROUP BY day, currency ORDER BY day, MIN(first_start)"));
  query.bindValue(QStringLiteral(":from"), text(from));
  query.bindValue(QStringLiteral(":to"), text(to));
  if (!query.exec()) return R::FromStatus(failure(query));
  std::vector<PeriodTotal> totals;
  while (query.next()) {
    const CivilDate period = periodOf(dateOf(query.value(0).toString()));
    if (totals.empty() || totals.back().date != period) {
      totals.emplace_back();
      totals.back().date = period;
    }
    PeriodTotal& total = totals.back();
    total.sessions += query.value(2).toLongLong();
    total.seconds += query.value(3).toLongLong();
    total.cost.add(query.value(1).toString().toStdString(), Amount{query.value(4).toLongLong()});
    total.received += query.value(5).toLongLong();
    total.sent += query.value(6).toLongLong();
    // The sessions kept before bytes were counted, so that their periods'
    // sums show as partial rather than as all.
    total.unknownBytes += query.value(7).toLongLong();
  }
  if (query.lastError().isValid()) return R::FromStatus(failure(query));
  return R::Value(std::move(totals));
}

Result<std::vector<PeriodTotal>> HistoryStore::days(int year, int month) const {
  return days(calendarMonthOf({year, month, 1}));
}

Result<std::vector<PeriodTotal>> HistoryStore::days(const Period& period) const {
  return grouped(period.first, period.last, [](const CivilDate& day) { return day; });
}

Result<std::vector<PeriodTotal>> HistoryStore::months(int year, int billingDay) const {
  return grouped(
      billingMonthStarting(year, 1, billingDay).first,
      billingMonthStarting(year, 12, billingDay).last,
      [billingDay](const CivilDate& day) { return billingMonthOf(day, billingDay).first; });
}

Result<PeriodTotal> HistoryStore::total(const CivilDate& from, const CivilDate& to) const {
  auto all = grouped(from, to, [&from](const CivilDate&) { return from; });
  if (!all.ok()) return Result<PeriodTotal>::FromStatus(all.status());
  PeriodTotal total;
  total.date = from;
  for (const PeriodTotal& part : all.value()) total.add(part);
  return Result<PeriodTotal>::Value(std::move(total));
}

Result<std::vector<SessionRow>> HistoryStore::sessionsOn(const CivilDate& date,
                                                         const std::optional<SessionRow>& after,
                                                         int limit) const {
  using R = Result<std::vector<SessionRow>>;
  QSqlQuery query(db());
  query.setForwardOnly(true);
  query.prepare(QStringLiteral("SELECT %1 FROM sessions WHERE %2%3 ORDER BY start_utc, id LIMIT %4")
                    .arg(QLatin1String(kSessionRowColumns), rangeCondition(),
                         after ? QStringLiteral(" AND (start_utc > :after OR"
                                                " (start_utc = :after AND id > :afterId))")
                               : QString())
                    .arg(limit));
  bindRange(query, date, date);
  if (after) {
    query.bindValue(QStringLiteral(":after"), after->startUtc.toSecsSinceEpoch());
    query.bindValue(QStringLiteral(":afterId"), after->id);
  }
  if (!query.exec()) return R::FromStatus(failure(query));
  std::vector<SessionRow> rows;
  while (query.next()) rows.push_back(sessionRowOf(query));
  if (query.lastError().isValid()) return R::FromStatus(failure(query));
  return R::Value(std::move(rows));
}

Status HistoryStore::remove(qint64 id) {
  QSqlQuery query(db());
  query.prepare(QStringLiteral("DELETE FROM sessions WHERE id = :id"));
  query.bindValue(QStringLiteral(":id"), id);
  if (!query.exec()) return failure(query);
  return Status::Ok();
}

Result<Usage> HistoryStore::usage(const CivilDate& day, const QString& currency, qint64 except,
                                  int billingDay) const {
  using R = Result<Usage>;
  if (!usable_) return R::Error("the history cannot be read");
  const Period month = billingMonthOf(day, billingDay);
  Usage usage;
  usage.day = dayOf(day).key();
  usage.month = month.key();
  const QString dayText = text(day);
  QSqlQuery query(db());
  query.setForwardOnly(true);
  query.prepare(QStringLiteral(
      "SELECT day = :day, SUM(seconds),"
      " SUM(CASE WHEN currency = :currency THEN cost ELSE 0 END),"
      " SUM(received + sent) FROM day_totals WHERE day BETWEEN :from AND :to GROUP BY 1"));
  query.bindValue(QStringLiteral(":day"), dayText);
  query.bindValue(QStringLiteral(":currency"), currency);
  query.bindValue(QStringLiteral(":from"), text(month.first));
  query.bindValue(QStringLiteral(":to"), text(month.last));
  if (!query.exec()) return R::FromStatus(failure(query));
  while (query.next()) {
    const qint64 seconds = query.value(1).toLongLong();
    const Amount cost{query.value(2).toLongLong()};
    const qint64 bytes = query.value(3).toLongLong();
    usage.monthSeconds += seconds;
    usage.monthCost += cost;
    usage.monthBytes += bytes;
    if (query.value(0).toInt() != 0) {
      usage.daySeconds += seconds;
      usage.dayCost += cost;
      usage.dayBytes += bytes;
    }
  }
  // The session left out, taken back out of the totals that hold it.
  query.prepare(QStringLiteral("SELECT %1, seconds, CASE WHEN currency = :currency THEN cost"
                               " ELSE 0 END, COALESCE(received_bytes, 0) + COALESCE(sent_bytes, 0)"
                               " FROM sessions WHERE id = :except")
                    .arg(QLatin1String(kLocalDate)));
  query.bindValue(QStringLiteral(":currency"), currency);
  query.bindValue(QStringLiteral(":except"), except);
  if (!query.exec()) return R::FromStatus(failure(query));
  if (query.next()) {
    const CivilDate started = dateOf(query.value(0).toString());
    const qint64 seconds = query.value(1).toLongLong();
    const Amount cost{query.value(2).toLongLong()};
    const qint64 bytes = query.value(3).toLongLong();
    if (month.contains(started)) {
      usage.monthSeconds -= seconds;
      usage.monthCost = usage.monthCost - cost;
      usage.monthBytes -= bytes;
    }
    if (started == day) {
      usage.daySeconds -= seconds;
      usage.dayCost = usage.dayCost - cost;
      usage.dayBytes -= bytes;
    }
  }
  return R::Value(std::move(usage));
}

Status HistoryStore::exportCsv(std::optional<CivilDate> from, std::optional<CivilDate> to,
                               const std::function<bool(std::string_view)>& write,
                               qint64* rows) const {
  if (rows != nullptr) *rows = 0;
  QSqlQuery query(db());
  query.setForwardOnly(true);
  QString sql = QStringLiteral(
      "SELECT start_utc, utc_offset, end_utc, seconds, tariff, rate, currency, cost_start,"
      " cost_end, end_kind, %1 FROM sessions");
  // A journal of the first layout, read as it is by the command line's
  // export, has no bytes: they are unknown.
  QSqlQuery probe(db());
  const bool bytes = probe.exec(QStringLiteral("SELECT received_bytes FROM sessions LIMIT 0"));
  probe.finish();
  sql = sql.arg(bytes ? QLatin1String("received_bytes, sent_bytes") : QLatin1String("NULL, NULL"));
  QStringList conditions;
  if (from) {
    conditions << QStringLiteral("start_utc >= :lo AND %1 >= :from").arg(QLatin1String(kLocalDate));
  }
  if (to) {
    conditions << QStringLiteral("start_utc < :hi AND %1 <= :to").arg(QLatin1String(kLocalDate));
  }
  if (!conditions.isEmpty())
    sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
  query.prepare(sql + QStringLiteral(" ORDER BY start_utc, id"));
  if (from) {
    query.bindValue(QStringLiteral(":lo"), daysFromCivil(*from) - kMargin);
    query.bindValue(QStringLiteral(":from"), text(*from));
  }
  if (to) {
    query.bindValue(QStringLiteral(":hi"), daysFromCivil(*to) + 2 * kMargin);
    query.bindValue(QStringLiteral(":to"), text(*to));
  }
  if (!query.exec()) return failure(query);

  std::string out;
  out.reserve(1 << 17);
  out += kHistoryCsvHeader;
  qint64 count = 0;
  const QTimeZone zone = QTimeZone::systemTimeZone();
  auto fromSecs = [](qint64 utc) { return QDateTime::fromSecsSinceEpoch(utc, QTimeZone::utc()); };
  while (query.next()) {
    const qint64 start = query.value(0).toLongLong();
    const int offset = query.value(1).toInt();
    const qint64 seconds = query.value(3).toLongLong();
    const std::string tariff = spreadsheetText(query.value(4).toString().toStdString());
    const std::string currency = spreadsheetText(query.value(6).toString().toStdString());
    const std::string costStart = query.value(7).toString().toStdString();
    const std::string costEnd = query.value(8).toString().toStdString();
    const std::string startText = isoLocalTime(start, offset);
    const qint64 endUtc = query.value(2).toLongLong();
    const std::string endText =
        isoLocalTime(endUtc, endOffset(fromSecs(start), offset, fromSecs(endUtc), zone));
    const std::string secondsText = std::to_string(seconds);
    const std::string duration = durationText(seconds);
    const std::string rate = writeNumber(query.value(5).toDouble());
    const std::string cost = sessionCost(costStart, costEnd).text();
    const std::string end = query.value(9).toString().toStdString();
    // Empty for runs recorded before their bytes were counted.
    const std::string received =
        query.value(10).isNull() ? "" : std::to_string(query.value(10).toLongLong());
    const std::string sent =
        query.value(11).isNull() ? "" : std::to_string(query.value(11).toLongLong());
    appendCsvRecord(out, {startText, endText, secondsText, duration, tariff, rate, currency, cost,
                          end, received, sent});
    ++count;
    if (out.size() >= (1 << 16)) {
      if (!write(out)) return Status::Error("the file cannot be written");
      out.clear();
    }
  }
  if (query.lastError().isValid()) return failure(query);
  if (!out.empty() && !write(out)) return Status::Error("the file cannot be written");
  if (rows != nullptr) *rows = count;
  return Status::Ok();
}

}  // namespace tempodial

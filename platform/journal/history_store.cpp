#include "platform/journal/history_store.h"

#include <sqlite3.h>

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "core/history/csv_text.h"
#include "core/values/number_text.h"
#include "platform/journal/session_times.h"

namespace tempodial {
namespace {

// A session's start counts on its local date; the start-time index narrows
// the search to a range wide enough for any offset from UTC.
constexpr qint64 kMargin = 86400;
constexpr const char* kLocalDate = "date(start_utc + utc_offset, 'unixepoch')";

void costFunction(sqlite3_context* context, int, sqlite3_value** values) {
  auto text = [](sqlite3_value* value) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return bytes == nullptr
               ? std::string_view()
               : std::string_view(bytes, static_cast<std::size_t>(sqlite3_value_bytes(value)));
  };
  sqlite3_result_double(context, sessionCost(text(values[0]), text(values[1])));
}

bool installCostFunction(const QSqlDatabase& db) {
  const QVariant handle = db.driver() != nullptr ? db.driver()->handle() : QVariant();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return false;
  sqlite3* sqlite = *static_cast<sqlite3* const*>(handle.constData());
  return sqlite != nullptr &&
         sqlite3_create_function_v2(sqlite, "tempodial_cost", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                    nullptr, costFunction, nullptr, nullptr, nullptr) == SQLITE_OK;
}

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

CivilDate lastOfMonth(int year, int month) {
  const CivilDate next = month == 12 ? CivilDate{year + 1, 1, 1} : CivilDate{year, month + 1, 1};
  return localDate(daysFromCivil(next) - 86400, 0);
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
  usable_ = installCostFunction(database);
}

Result<std::vector<PeriodTotal>> HistoryStore::grouped(const char* key, const CivilDate& from,
                                                       const CivilDate& to) const {
  using R = Result<std::vector<PeriodTotal>>;
  if (!usable_) return R::Error("the history cannot be read");
  QSqlQuery query(db());
  query.setForwardOnly(true);
  query.prepare(QStringLiteral("SELECT %1 AS period, currency, COUNT(*), SUM(seconds),"
                               " SUM(tempodial_cost(cost_start, cost_end))"
                               " FROM sessions WHERE %2 GROUP BY period, currency"
                               " ORDER BY period, MIN(start_utc)")
                    .arg(QLatin1String(key), rangeCondition()));
  bindRange(query, from, to);
  if (!query.exec()) return R::FromStatus(failure(query));
  std::vector<PeriodTotal> totals;
  QString last;
  while (query.next()) {
    const QString period = query.value(0).toString();
    if (totals.empty() || period != last) {
      last = period;
      totals.emplace_back();
      totals.back().date = dateOf(period.size() == 7 ? period + QStringLiteral("-01") : period);
    }
    PeriodTotal& total = totals.back();
    total.sessions += query.value(2).toLongLong();
    total.seconds += query.value(3).toLongLong();
    total.cost.add(query.value(1).toString().toStdString(), query.value(4).toDouble());
  }
  return R::Value(std::move(totals));
}

Result<std::vector<PeriodTotal>> HistoryStore::days(int year, int month) const {
  return grouped(kLocalDate, {year, month, 1}, lastOfMonth(year, month));
}

Result<std::vector<PeriodTotal>> HistoryStore::months(int year) const {
  return grouped("strftime('%Y-%m', start_utc + utc_offset, 'unixepoch')", {year, 1, 1},
                 {year, 12, 31});
}

Result<PeriodTotal> HistoryStore::total(const CivilDate& from, const CivilDate& to) const {
  auto all = grouped("''", from, to);
  if (!all.ok()) return Result<PeriodTotal>::FromStatus(all.status());
  PeriodTotal total;
  total.date = from;
  for (const PeriodTotal& part : all.value()) {
    total.sessions += part.sessions;
    total.seconds += part.seconds;
    total.cost.add(part.cost);
  }
  return Result<PeriodTotal>::Value(std::move(total));
}

Result<std::vector<SessionRow>> HistoryStore::sessionsOn(const CivilDate& date) const {
  using R = Result<std::vector<SessionRow>>;
  QSqlQuery query(db());
  query.setForwardOnly(true);
  query.prepare(QStringLiteral("SELECT %1 FROM sessions WHERE %2 ORDER BY start_utc, id")
                    .arg(QLatin1String(kSessionRowColumns), rangeCondition()));
  bindRange(query, date, date);
  if (!query.exec()) return R::FromStatus(failure(query));
  std::vector<SessionRow> rows;
  while (query.next()) {
    SessionRow row = sessionRowOf(query);
    rows.push_back(std::move(row));
  }
  return R::Value(std::move(rows));
}

Status HistoryStore::remove(qint64 id) {
  QSqlQuery query(db());
  query.prepare(QStringLiteral("DELETE FROM sessions WHERE id = :id"));
  query.bindValue(QStringLiteral(":id"), id);
  if (!query.exec()) return failure(query);
  return Status::Ok();
}

Result<Usage> HistoryStore::usage(const CivilDate& day, const QString& currency,
                                  qint64 except) const {
  using R = Result<Usage>;
  if (!usable_) return R::Error("the history cannot be read");
  QSqlQuery query(db());
  query.setForwardOnly(true);
  query.prepare(QStringLiteral("SELECT %1 = :day, SUM(seconds),"
                               " SUM(CASE WHEN currency = :currency"
                               " THEN tempodial_cost(cost_start, cost_end) ELSE 0 END)"
                               " FROM sessions WHERE %2 AND id <> :except GROUP BY 1")
                    .arg(QLatin1String(kLocalDate), rangeCondition()));
  bindRange(query, {day.year, day.month, 1}, lastOfMonth(day.year, day.month));
  query.bindValue(QStringLiteral(":day"), text(day));
  query.bindValue(QStringLiteral(":currency"), currency);
  query.bindValue(QStringLiteral(":except"), except);
  if (!query.exec()) return R::FromStatus(failure(query));
  Usage usage;
  usage.day = dateText(day);
  usage.month = usage.day.substr(0, 7);
  while (query.next()) {
    const qint64 seconds = query.value(1).toLongLong();
    const double cost = query.value(2).toDouble();
    usage.monthSeconds += seconds;
    usage.monthCost += cost;
    if (query.value(0).toInt() != 0) {
      usage.daySeconds += seconds;
      usage.dayCost += cost;
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
      " cost_end, end_kind FROM sessions");
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
  appendCsvRecord(
      out, {"start", "end", "seconds", "time", "tariff", "rate", "currency", "cost", "ended"});
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
    const std::string cost = writeNumber(sessionCost(costStart, costEnd));
    const std::string end = query.value(9).toString().toStdString();
    appendCsvRecord(out,
                    {startText, endText, secondsText, duration, tariff, rate, currency, cost, end});
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

// The usage history over the session journal's database: totals per day,
// month and period from the journal's day totals (a few rows per day), the
// sessions of one day a page at a time by the start-time index, usage for the
// limits, deleting a session, and the CSV export. Costs are exact amounts per
// currency.
#pragma once

#include <QSqlDatabase>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "core/history/history.h"
#include "core/history/limits.h"
#include "core/history/period.h"
#include "core/history/period_total.h"
#include "core/values/status.h"
#include "platform/journal/session_journal.h"

namespace tempodial {

class HistoryStore {
 public:
  // Requires an open database holding the journal's tables. Teaches it the
  // cost function the totals use.
  explicit HistoryStore(QSqlDatabase database);

  // Whether the cost function could be taught to the database; every query
  // fails without it.
  bool usable() const { return usable_; }

  // The days of a calendar month that have sessions, in order.
  Result<std::vector<PeriodTotal>> days(int year, int month) const;
  // The days of `period` that have sessions, in order.
  Result<std::vector<PeriodTotal>> days(const Period& period) const;
  // The months from `billingDay` that begin in `year` and have sessions,
  // in order, each dated by its first day.
  Result<std::vector<PeriodTotal>> months(int year, int billingDay = 1) const;
  // Everything from `from` to `to`, both days included.
  Result<PeriodTotal> total(const CivilDate& from, const CivilDate& to) const;
  // The sessions that started on `date`, in order of their start; with
  // `after`, only those after that row, and at most `limit` of them.
  Result<std::vector<SessionRow>> sessionsOn(const CivilDate& date,
                                             const std::optional<SessionRow>& after = {},
                                             int limit = -1) const;
  // Deletes one session.
  Status remove(qint64 id);

  // Time, cost in `currency` and bytes of the sessions that started on `day`
  // and in its month from `billingDay` (1 to 31; 1: the calendar month),
  // leaving out the session `except`.
  Result<Usage> usage(const CivilDate& day, const QString& currency, qint64 except,
                      int billingDay = 1) const;

  // Writes the sessions that started from `from` to `to` (each optional) as
  // CSV with a header line, in pieces to `write`, which returns false when it
  // cannot go on. `rows` receives the number of sessions written.
  Status exportCsv(std::optional<CivilDate> from, std::optional<CivilDate> to,
                   const std::function<bool(std::string_view)>& write, qint64* rows) const;

 private:
  // The days from `from` to `to` gathered into the periods that `periodOf`
  // gives the first day of; the days come in order, and so must the periods.
  Result<std::vector<PeriodTotal>> grouped(
      const CivilDate& from, const CivilDate& to,
      const std::function<CivilDate(const CivilDate&)>& periodOf) const;

  // The database by its connection, so that no copy of it outlives the
  // journal that closes it.
  QSqlDatabase db() const { return QSqlDatabase::database(connection_, false); }

  QString connection_;
  bool usable_ = false;
};

}  // namespace tempodial

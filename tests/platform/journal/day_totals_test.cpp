// The journal's day totals equal the sums of its rows, per local day and
// currency: as the journal writes, updates and deletes rows (midnight,
// month ends, changes of the UTC offset), and when an older journal is
// brought up to date.
#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QTemporaryDir>
#include <map>
#include <random>

#include "core/history/history.h"
#include "platform/journal/history_store.h"
#include "platform/journal/session_journal.h"
#include "tests/platform/journal/totals_check.h"

namespace tempodial {
namespace {

using GeneratedRun = JournalRun;

// Sessions at the edges of days, months, years and offset changes, then more
// at random over two years, one every `spacing` to twice `spacing` seconds,
// at offsets on both sides of UTC.
std::vector<GeneratedRun> generatedRuns(qint64 spacing) {
  std::vector<GeneratedRun> runs = {
      {1796684399 - 3600, 3600, 60, "0", "0.014", "£"},         // 2026-12-07 23:59:59 +01:00
      {1796684400 - 3600, 3600, 60, "0.014", "0.028", "£"},     // 2026-12-08 00:00:00 +01:00
      {1769905800, -5 * 3600, 600, "1", "2.5", "Fr"},           // 2026-01-31 19:30 -05, Feb in UTC
      {1711845000, 0, 1800, "0", "0.0140000000000011", "£"},    // 2024-03-31 00:30 GMT
      {1711846800 + 3600, 3600, 900, "2", "1", "£"},            // 03:00 BST, cost typed down
      {1729989000, 3600, 60, "0", "0.279999999999999", "$"},    // 2024-10-27 01:30 BST
      {1729992600, 0, 60, "0", "1e-3", "$"},                    // 01:30 GMT, the hour again
      {1767225540 - 14 * 3600, 14 * 3600, 30, "0", "3", "Fr"},  // 2025-12-31 23:59 +14:00
  };
  std::mt19937 random(20261207);
  const int offsets[] = {-5 * 3600, 0, 3600, 19800};
  const char* currencies[] = {"£", "Fr"};
  for (qint64 start = 1704067200; start < 1704067200 + 2 * 365 * 86400;
       start += spacing + static_cast<qint64>(random() % spacing)) {
    const int cents = static_cast<int>(random() % 5000);
    runs.push_back({start, offsets[random() % 4], static_cast<qint64>(random() % 7200),
                    std::to_string(cents / 1000.0), std::to_string(cents / 1000.0 + 0.014 * 7),
                    currencies[random() % 2]});
  }
  return runs;
}

// The totals per "day currency", counted here from the runs.
using Totals = std::map<std::string, std::tuple<qint64, qint64, std::int64_t>>;
Totals expected(const std::vector<GeneratedRun>& runs) {
  Totals totals;
  for (const GeneratedRun& run : runs) {
    auto& [count, seconds, micros] =
        totals[dateText(localDate(run.startUtc, run.offset)) + " " + run.currency];
    ++count;
    seconds += run.seconds;
    micros += sessionCost(run.costStart, run.costEnd).micros;
  }
  return totals;
}

Totals kept(const QSqlDatabase& db) {
  Totals totals;
  QSqlQuery query(db);
  EXPECT_TRUE(query.exec("SELECT day, currency, sessions, seconds, cost FROM day_totals"));
  while (query.next()) {
    totals[(query.value(0).toString() + " " + query.value(1).toString()).toStdString()] = {
        query.value(2).toLongLong(), query.value(3).toLongLong(), query.value(4).toLongLong()};
  }
  return totals;
}

SessionSnapshot snapshot(const std::string& cost, const std::string& currency, qint64 counted) {
  return {
      "0",    "0", "0", QString::fromStdString(cost), "Day", 1.4, QString::fromStdString(currency),
      counted};
}

TEST(DayTotals, EqualTheRowsAsTheJournalWritesUpdatesAndDeletes) {
  QTemporaryDir dir;
  SessionJournal journal(dir.path() + "/history.sqlite3");
  ASSERT_TRUE(journal.open().ok());
  // Each run is written as the clock writes it, flushed at its end: fewer runs.
  std::vector<GeneratedRun> runs = generatedRuns(80000);
  std::vector<qint64> ids;
  for (const GeneratedRun& run : runs) {
    const QDateTime start = QDateTime::fromSecsSinceEpoch(run.startUtc, Qt::UTC);
    // Each run begins in another currency and changes to its own on the way.
    auto id = journal.begin(snapshot(run.costStart, "$$", 0), start, run.offset);
    ASSERT_TRUE(id.ok());
    ASSERT_TRUE(
        journal.update(id.value(), snapshot(run.costStart, run.currency, 1), start, false).ok());
    ASSERT_TRUE(journal
                    .finish(id.value(), snapshot(run.costEnd, run.currency, run.seconds),
                            start.addSecs(run.seconds), SessionEnd::Stopped)
                    .ok());
    ids.push_back(id.value());
  }
  HistoryStore store(journal.database());
  for (std::size_t i = 0; i < runs.size(); i += 3) ASSERT_TRUE(store.remove(ids[i]).ok());
  for (std::size_t i = 0; i < runs.size(); i += 3) runs[i].currency = "deleted";
  std::erase_if(runs, [](const GeneratedRun& run) { return run.currency == "deleted"; });

  const Totals want = expected(runs);
  EXPECT_EQ(kept(journal.database()), want);
  EXPECT_EQ(dayTotalsMismatch(journal.database()), QStringList());
  // The views read the same sums: March 2024 as days, 2024 as months.
  const auto march = store.days(2024, 3).value();
  const auto year = store.months(2024).value();
  for (const PeriodTotal& day : march) {
    for (const auto& sum : day.cost.sums()) {
      EXPECT_EQ(sum.amount.micros, std::get<2>(want.at(dateText(day.date) + " " + sum.currency)));
    }
  }
  qint64 yearSessions = 0, wantSessions = 0;
  for (const PeriodTotal& month : year) yearSessions += month.sessions;
  for (const auto& [key, sums] : want) {
    wantSessions += key.starts_with("2024") ? std::get<0>(sums) : 0;
  }
  EXPECT_EQ(yearSessions, wantSessions);
}

TEST(DayTotals, AreBuiltWhenAnOlderJournalIsOpened) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/history.sqlite3";
  const std::vector<GeneratedRun> runs = generatedRuns(5000);
  ASSERT_TRUE(writeFirstLayout(path, runs));
  SessionJournal journal(path);
  ASSERT_TRUE(journal.open().ok());
  EXPECT_EQ(kept(journal.database()), expected(runs));
  EXPECT_EQ(dayTotalsMismatch(journal.database()), QStringList());
  QSqlQuery version(journal.database());
  ASSERT_TRUE(version.exec("PRAGMA user_version") && version.next());
  EXPECT_EQ(version.value(0).toInt(), SessionJournal::kSchemaVersion);
}

}  // namespace
}  // namespace tempodial

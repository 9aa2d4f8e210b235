// The history's totals, day lists, usage and export over a real journal file.
#include "platform/journal/history_store.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QTemporaryDir>
#include <tuple>

#include "platform/journal/session_journal.h"
#include "tests/platform/journal/totals_check.h"

namespace tempodial {
namespace {

class HistoryStoreTest : public testing::Test {
 protected:
  HistoryStoreTest() : journal(dir.path() + QStringLiteral("/history.sqlite3")) {
    EXPECT_TRUE(journal.open().ok());
  }

  // A finished session that started at `localStart` ("2026-03-14T23:30:00")
  // `offsetHours` east of UTC and counted `seconds`.
  qint64 add(const char* localStart, double offsetHours, qint64 seconds, const char* costStart,
             const char* costEnd, const char* currency = "£", SessionEnd end = SessionEnd::Stopped,
             const char* tariff = "Day") {
    const int offset = static_cast<int>(offsetHours * 3600);
    const QDateTime utc =
        QDateTime::fromString(QString::fromLatin1(localStart) + QStringLiteral("Z"), Qt::ISODate)
            .addSecs(-offset);
    SessionSnapshot now;
    now.hours = now.minutes = now.seconds = QStringLiteral("0");
    now.cost = QString::fromUtf8(costStart);
    now.tariff = QString::fromUtf8(tariff);
    now.rate = 1.5;
    now.currency = QString::fromUtf8(currency);
    auto row = journal.begin(now, utc, offset);
    EXPECT_TRUE(row.ok()) << row.reason();
    now.counted = seconds;
    now.cost = QString::fromUtf8(costEnd);
    now.received = received;
    now.sent = sent;
    if (end == SessionEnd::Open) {
      EXPECT_TRUE(journal.update(row.value(), now, utc.addSecs(seconds), false).ok());
    } else {
      EXPECT_TRUE(journal.finish(row.value(), now, utc.addSecs(seconds), end).ok());
    }
    return row.value();
  }

  std::string exported(std::optional<CivilDate> from = {}, std::optional<CivilDate> to = {}) {
    return exportOf(store(), from, to);
  }
  static std::string exportOf(const HistoryStore& history, std::optional<CivilDate> from = {},
                              std::optional<CivilDate> to = {}) {
    std::string out;
    qint64 rows = -1;
    const Status status = history.exportCsv(
        from, to,
        [&out](std::string_view bytes) {
          out += bytes;
          return true;
        },
        &rows);
    EXPECT_TRUE(status.ok()) << status.reason();
    return out;
  }

  HistoryStore store() { return HistoryStore(journal.database()); }

  QTemporaryDir dir;
  SessionJournal journal;
  qint64 received = 0, sent = 0;  // the bytes of the next run added
};

constexpr const char* kHeader =
    "start,end,seconds,time,tariff,rate,currency,cost,ended,received_bytes,sent_bytes\r\n";

TEST_F(HistoryStoreTest, EmptyHistoryHasNoDaysNoMonthsAndAnExportOfTheHeaderAlone) {
  HistoryStore history = store();
  ASSERT_TRUE(history.usable());
  auto days = history.days(2026, 12);
  ASSERT_TRUE(days.ok()) << days.reason();
  EXPECT_TRUE(days.value().empty());
  EXPECT_TRUE(history.months(2026).value().empty());
  const PeriodTotal total = history.total({2000, 1, 1}, {2100, 12, 31}).value();
  EXPECT_EQ(total.sessions, 0);
  EXPECT_EQ(total.cost.text(), "0");
  EXPECT_EQ(exported(), kHeader);
}

TEST_F(HistoryStoreTest, SessionAcrossMidnightCountsOnTheDayItStartedAtItsOwnOffset) {
  add("2026-03-14T23:30:00", 1, 7200, "0", "1.8");
  // 23:30 on 31 March at UTC-5 is already 1 April in UTC: it stays in March.
  add("2026-03-31T23:30:00", -5, 600, "0", "0.15");
  // 00:30 on 1 April at UTC+2 is still 31 March in UTC: it belongs to April.
  add("2026-04-01T00:30:00", 2, 60, "0", "0.02");
  // 00:10 on 1 May at UTC+10:30 (Lord Howe) is still 30 April in UTC: May's.
  add("2026-05-01T00:10:00", 10.5, 60, "0", "0.01");
  HistoryStore history = store();
  const auto march = history.days(2026, 3).value();
  ASSERT_EQ(march.size(), 2u);
  EXPECT_EQ(march[0].date, (CivilDate{2026, 3, 14}));
  EXPECT_EQ(march[0].seconds, 7200);
  EXPECT_EQ(march[0].cost.text(), "£1.8");
  EXPECT_EQ(march[1].date, (CivilDate{2026, 3, 31}));
  const auto april = history.days(2026, 4).value();
  ASSERT_EQ(april.size(), 1u);
  EXPECT_EQ(april[0].date, (CivilDate{2026, 4, 1}));
  EXPECT_EQ(history.sessionsOn({2026, 3, 14}).value().size(), 1u);
  EXPECT_TRUE(history.sessionsOn({2026, 3, 15}).value().empty());
  const auto months = history.months(2026).value();
  ASSERT_EQ(months.size(), 3u);
  EXPECT_EQ(months[0].sessions, 2);
  EXPECT_EQ(months[0].seconds, 7800);
  EXPECT_EQ(months[1].date, (CivilDate{2026, 4, 1}));
  EXPECT_EQ(months[2].date, (CivilDate{2026, 5, 1}));
  EXPECT_EQ(history.usage({2026, 5, 1}, QStringLiteral("£"), 0).value().daySeconds, 60);
  EXPECT_EQ(history.usage({2026, 4, 30}, QStringLiteral("£"), 0).value().monthSeconds, 60);
  // The export's bounds are local days too, at either end of the offsets.
  EXPECT_EQ(exported({{2026, 3, 31}}, {{2026, 3, 31}}).substr(std::strlen(kHeader), 25),
            "2026-03-31T23:30:00-05:00");
  EXPECT_EQ(exported({{2026, 5, 1}}, {{2026, 5, 1}}).substr(std::strlen(kHeader), 25),
            "2026-05-01T00:10:00+10:30");
  EXPECT_EQ(exported({{2026, 3, 14}}, {{2026, 3, 14}}),
            std::string(kHeader) +
                "2026-03-14T23:30:00+01:00,2026-03-15T01:30:00+01:00,7200,2:00:00,Day,1.5,£,1.8,"
                "stopped,0,0\r\n");
}

TEST_F(HistoryStoreTest, MonthWithTwoCurrenciesKeepsTheirCostsApart) {
  add("2026-05-02T10:00:00", 1, 600, "0", "0.5", "£");
  add("2026-05-02T12:00:00", 1, 1200, "1", "4", "Fr");
  add("2026-05-03T09:00:00", 1, 60, "0.5", "1.25", "£");
  add("2026-05-20T09:00:00", 1, 60, "0", "2.5", "Fr");
  HistoryStore history = store();
  const auto days = history.days(2026, 5).value();
  ASSERT_EQ(days.size(), 3u);
  EXPECT_EQ(days[0].sessions, 2);
  EXPECT_EQ(days[0].seconds, 1800);
  EXPECT_EQ(days[0].cost.text(), "£0.5 + Fr 3");
  EXPECT_EQ(days[1].cost.text(), "£0.75");
  EXPECT_EQ(days[2].cost.text(), "Fr 2.5");
  const PeriodTotal month = history.total({2026, 5, 1}, {2026, 5, 31}).value();
  EXPECT_EQ(month.sessions, 4);
  EXPECT_EQ(month.seconds, 1920);
  EXPECT_EQ(month.cost.amountIn("£"), Amount::fromText("1.25"));
  EXPECT_EQ(month.cost.amountIn("Fr"), Amount::fromText("5.5"));
  ASSERT_EQ(month.cost.sums().size(), 2u);

  // The limits count only the currency in use, and leave out the running session.
  const qint64 running = add("2026-05-20T20:00:00", 1, 300, "0", "9", "£", SessionEnd::Open);
  const Usage usage = history.usage({2026, 5, 20}, QStringLiteral("£"), running).value();
  EXPECT_EQ(usage.day, "2026-05-20");
  EXPECT_EQ(usage.month, "2026-05");
  EXPECT_EQ(usage.daySeconds, 60);
  EXPECT_EQ(usage.dayCost, Amount::fromText("0"));
  EXPECT_EQ(usage.monthSeconds, 1920);
  EXPECT_EQ(usage.monthCost, Amount::fromText("1.25"));
  EXPECT_EQ(history.usage({2026, 5, 20}, QStringLiteral("Fr"), 0).value().dayCost,
            Amount::fromText("2.5"));
}

TEST_F(HistoryStoreTest, CostsAreReadAsTheCostBoxReadsThemAndAnEditedBoxCountsNothing) {
  struct Case {
    const char* start;
    const char* end;
    const char* cost;
  };
  const Case cases[] = {
      {"0", "0.924", "0.924"}, {" 1 2", "13.5", "1.5"},  // blanks inside a number are skipped
      {"1,5", "3", "2"},       {"abc", "2", "2"},        // reading stops at a comma or a letter
      {"10", "4", "0"},                                  // typed down during the run
  };
  int day = 1;
  for (const Case& c : cases) {
    const std::string start =
        "2026-06-" + std::string(day < 10 ? "0" : "") + std::to_string(day) + "T10:00:00";
    add(start.c_str(), 0, 60, c.start, c.end);
    ++day;
  }
  const auto days = store().days(2026, 6).value();
  ASSERT_EQ(days.size(), std::size(cases));
  for (std::size_t i = 0; i < days.size(); ++i) {
    EXPECT_EQ(days[i].cost.text(), std::string("£") + cases[i].cost) << cases[i].start;
  }
}

TEST_F(HistoryStoreTest, ExportQuotesAwkwardTextsAndKeepsToItsDays) {
  add("2026-07-01T08:00:00", 0, 3909, "0", "1", "$", SessionEnd::Interrupted,
      "Peak, \"busy\"\nhours");
  add("2026-07-02T08:00:00", 5.5, 5, "0", "0", "$", SessionEnd::Open, " padded ");
  add("2026-07-03T08:00:00", 0, 5, "0", "0", "$", SessionEnd::Exit);
  EXPECT_EQ(exported({{2026, 7, 1}}, {{2026, 7, 2}}),
            std::string(kHeader) +
                "2026-07-01T08:00:00+00:00,2026-07-01T09:05:09+00:00,3909,1:05:09,"
                "\"Peak, \"\"busy\"\"\nhours\",1.5,$,1,interrupted,0,0\r\n"
                "2026-07-02T08:00:00+05:30,2026-07-02T08:00:05+05:30,5,0:00:05,\" padded \",1.5,"
                "$,0,,0,0\r\n");
  EXPECT_EQ(
      exported({{2026, 7, 3}}).substr(std::strlen(kHeader)),
      "2026-07-03T08:00:00+00:00,2026-07-03T08:00:05+00:00,5,0:00:05,Day,1.5,$,0,exit,0,0\r\n");
}

TEST_F(HistoryStoreTest, DeletingASessionTakesItOutOfEveryTotal) {
  const qint64 first = add("2026-08-09T10:00:00", 0, 100, "0", "1");
  add("2026-08-09T11:00:00", 0, 50, "1", "3");
  HistoryStore history = store();
  ASSERT_TRUE(history.remove(first).ok());
  const auto days = history.days(2026, 8).value();
  ASSERT_EQ(days.size(), 1u);
  EXPECT_EQ(days[0].sessions, 1);
  EXPECT_EQ(days[0].seconds, 50);
  EXPECT_EQ(days[0].cost.text(), "£2");
  ASSERT_EQ(history.sessionsOn({2026, 8, 9}).value().size(), 1u);
}

TEST_F(HistoryStoreTest, BytesOfRunsAreKeptAndRunsOfAnOlderJournalReadAsUnknown) {
  // A journal as the first layout wrote it, with one run, brought up to date.
  // (Its export as it is, unchanged, is read in export_targets_e2e.py.)
  const QString older = dir.path() + QStringLiteral("/older.sqlite3");
  ASSERT_TRUE(writeFirstLayout(older, {{1796637600, 0, 60, "0", "1", "£"}}));
  SessionJournal journal(older);
  ASSERT_TRUE(journal.open().ok());
  SessionSnapshot now;
  now.hours = now.minutes = now.seconds = now.cost = now.tariff = now.currency = "0";
  now.received = 5'000'000'123;
  now.sent = 456;
  const QDateTime start = QDateTime::fromSecsSinceEpoch(1796641200, Qt::UTC);
  const auto row = journal.begin(now, start, 0);
  ASSERT_TRUE(row.ok()) << row.reason();
  now.received += 1000;
  ASSERT_TRUE(journal.update(row.value(), now, start.addSecs(5), false).ok());
  HistoryStore history(journal.database());
  const auto runs = history.sessionsOn({2026, 12, 7}).value();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_FALSE(runs[0].receivedBytes.has_value());
  EXPECT_FALSE(runs[0].sentBytes.has_value());
  EXPECT_EQ(runs[1].receivedBytes, 5'000'001'123);
  EXPECT_EQ(runs[1].sentBytes, 456);
  const PeriodTotal day = history.total({2026, 12, 7}, {2026, 12, 7}).value();
  EXPECT_EQ(day.received, 5'000'001'123);
  EXPECT_EQ(day.sent, 456);
  EXPECT_EQ(day.sessions, 2);
  EXPECT_EQ(day.unknownBytes, 1);
  EXPECT_EQ(history.months(2026).value().back().unknownBytes, 1);
  EXPECT_EQ(history.usage({2026, 12, 7}, QStringLiteral("£"), 0).value().dayBytes, 5'000'001'579);
  const std::string out = exportOf(history);
  EXPECT_NE(out.find(",stopped,,\r\n"), std::string::npos) << out;
  EXPECT_NE(out.find(",,5000001123,456\r\n"), std::string::npos) << out;
  // Deleting the older run leaves a day whose bytes are all known.
  ASSERT_TRUE(history.remove(runs[0].id).ok());
  EXPECT_EQ(history.days(2026, 12).value().at(0).unknownBytes, 0);
  EXPECT_EQ(dayTotalsMismatch(journal.database()), QStringList());
}

TEST_F(HistoryStoreTest, AJournalOfTheThirdLayoutCountsItsRunsWithoutBytes) {
  // Two runs on one day and one the day after, of which the first was kept
  // without its bytes, in a journal brought to the third layout as it was.
  const QString older = dir.path() + QStringLiteral("/third.sqlite3");
  ASSERT_TRUE(writeFirstLayout(older, {{1796637600, 0, 60, "0", "1", "£"},
                                       {1796641200, 0, 60, "0", "2", "£"},
                                       {1796727600, 0, 60, "0", "3", "£"}}));
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("third"));
    db.setDatabaseName(older);
    ASSERT_TRUE(db.open());
    ASSERT_TRUE(installCostFunction(db));
    QSqlQuery query(db);
    for (std::size_t step = 1; step < 3; ++step) {
      for (const char* sql : journalSteps()[step]) ASSERT_TRUE(query.exec(sql)) << sql;
    }
    ASSERT_TRUE(query.exec("UPDATE sessions SET received_bytes = 7, sent_bytes = 3 WHERE id > 1"));
    ASSERT_TRUE(query.exec("PRAGMA user_version=3"));
  }
  QSqlDatabase::removeDatabase(QStringLiteral("third"));
  SessionJournal journal(older);
  ASSERT_TRUE(journal.open().ok());
  EXPECT_EQ(dayTotalsMismatch(journal.database()), QStringList());
  const auto days = HistoryStore(journal.database()).days(2026, 12).value();
  ASSERT_EQ(days.size(), 2u);
  EXPECT_EQ(std::tuple(days[0].sessions, days[0].unknownBytes, days[0].received),
            std::tuple(2, 1, 7));
  EXPECT_EQ(std::tuple(days[1].sessions, days[1].unknownBytes, days[1].received),
            std::tuple(1, 0, 7));
}

TEST_F(HistoryStoreTest, MonthsFromABillingDayGatherTheirDaysAcrossMonthAndYearEnds) {
  struct Run {
    const char* start;
    double offset;
    qint64 bytes;
  };
  // Around the 14th/15th of four months; the month from 15 February has 28 days.
  const Run runs[] = {
      {"2026-12-14T23:30:00", 1, 1},  // still the 14th where it started (22:30 UTC)
      {"2026-12-15T00:10:00", 1, 2},  // the 15th, though 14 December in UTC
      {"2027-01-14T23:59:00", 0, 4},  // the last day of the month from 15 December
      {"2027-01-15T00:00:00", 0, 8},  {"2027-02-14T12:00:00", 0, 16},
      {"2027-02-15T12:00:00", 0, 32}, {"2027-03-14T12:00:00", 0, 64},
  };
  std::vector<qint64> ids;
  for (const Run& run : runs) {
    received = run.bytes;
    ids.push_back(add(run.start, run.offset, 60, "0", "0.1"));
  }
  HistoryStore history = store();
  struct Case {
    const char* name;
    CivilDate day;
    int billingDay;
    const char* month;
    qint64 monthBytes;
    qint64 dayBytes;
    qint64 monthSeconds;
  };
  const Case cases[] = {
      {"the 14th is the month before's", {2026, 12, 14}, 15, "2026-11-15", 1, 1, 60},
      {"the 15th begins a month of 31 days", {2026, 12, 15}, 15, "2026-12-15", 2 + 4, 2, 120},
      {"its last day, in the next year", {2027, 1, 14}, 15, "2026-12-15", 2 + 4, 4, 120},
      {"the next month", {2027, 1, 15}, 15, "2027-01-15", 8 + 16, 8, 120},
      {"a month of 28 days", {2027, 2, 15}, 15, "2027-02-15", 32 + 64, 32, 120},
      {"its last day", {2027, 3, 14}, 15, "2027-02-15", 32 + 64, 64, 120},
      {"the calendar month", {2026, 12, 15}, 1, "2026-12", 1 + 2, 2, 120},
      {"from the 31st: 31 January to 27 February",
       {2027, 2, 27},
       31,
       "2027-01-31",
       16 + 32,
       0,
       120},
      {"from the 31st: from 28 February", {2027, 2, 28}, 31, "2027-02-28", 64, 0, 60},
  };
  for (const Case& c : cases) {
    const auto usage = history.usage(c.day, QStringLiteral("£"), 0, c.billingDay);
    ASSERT_TRUE(usage.ok()) << c.name << ": " << usage.reason();
    EXPECT_EQ(usage.value().month, c.month) << c.name;
    EXPECT_EQ(usage.value().monthBytes, c.monthBytes) << c.name;
    EXPECT_EQ(usage.value().dayBytes, c.dayBytes) << c.name;
    EXPECT_EQ(usage.value().monthSeconds, c.monthSeconds) << c.name;
    EXPECT_EQ(usage.value().monthCost, Amount::fromText(c.monthSeconds == 60 ? "0.1" : "0.2"))
        << c.name;
    // The month's days add up to the same.
    const Period month = billingMonthOf(c.day, c.billingDay);
    qint64 bytes = 0;
    const auto days = history.days(month);
    ASSERT_TRUE(days.ok()) << c.name;
    for (const PeriodTotal& day : days.value()) {
      EXPECT_TRUE(month.contains(day.date)) << c.name << ' ' << dateText(day.date);
      bytes += day.received;
    }
    EXPECT_EQ(bytes, c.monthBytes) << c.name;
  }
  // A run left out is taken out of the month that holds it, and only there.
  EXPECT_EQ(history.usage({2026, 12, 15}, QStringLiteral("£"), ids[2], 15).value().monthBytes, 2);
  EXPECT_EQ(history.usage({2026, 12, 15}, QStringLiteral("£"), ids[3], 15).value().monthBytes, 6);
  EXPECT_EQ(history.usage({2027, 1, 14}, QStringLiteral("£"), ids[2], 1).value().monthBytes, 8);
  // A year's months are those that begin in it, each dated by its first day.
  const auto monthsOf = [&history](int year, int billingDay) {
    std::vector<std::tuple<std::string, qint64, qint64>> found;
    const auto months = history.months(year, billingDay);
    for (const PeriodTotal& month : months.value()) {
      found.emplace_back(dateText(month.date), month.received, month.sessions);
    }
    return found;
  };
  using Months = std::vector<std::tuple<std::string, qint64, qint64>>;
  EXPECT_EQ(monthsOf(2026, 15), (Months{{"2026-11-15", 1, 1}, {"2026-12-15", 6, 2}}));
  EXPECT_EQ(monthsOf(2027, 15), (Months{{"2027-01-15", 24, 2}, {"2027-02-15", 96, 2}}));
  EXPECT_EQ(monthsOf(2027, 1),
            (Months{{"2027-01-01", 12, 2}, {"2027-02-01", 48, 2}, {"2027-03-01", 64, 1}}));
  EXPECT_EQ(monthsOf(2027, 31), (Months{{"2027-01-31", 48, 2}, {"2027-02-28", 64, 1}}));
}

}  // namespace
}  // namespace tempodial

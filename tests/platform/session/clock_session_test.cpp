// The clock session on its own, with no window built: its tick counts real
// time on a clock the test moves, each run is kept in the journal, and the
// program's end closes the running run as the end was.
#include "platform/session/clock_session.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <vector>

#include "platform/clock/clock_model.h"
#include "platform/forms/form_timer.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/scripted_services.h"
#include "platform/session/session_recorder.h"

namespace tempodial {
namespace {

class ClockSessionTest : public ::testing::Test {
 protected:
  ClockSessionTest() {
    if (QCoreApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "clock_session_test";
      static char* argv[] = {name, nullptr};
      new QCoreApplication(argc, argv);
    }
    // No login manager and no settings but this run's own.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    QDir().mkpath(runtime.places().folder(Place::Data));
    // No link with a default route: the run's volume is nothing.
    session.recorder().setCountersRoot(home.path() + QStringLiteral("/counters"));
    clock().setTariff(QStringLiteral("Weekday"));
    clock().setRate(QStringLiteral("1.4"));
    clock().setCurrency(QStringLiteral("£"), QStringLiteral("British Pounds"));
  }

  ClockModel& clock() { return session.clock(); }
  QString shown() {
    return clock().hours() + ':' + clock().minutes() + ':' + clock().seconds() + ' ' +
           clock().cost();
  }
  // The clock's tick elapses `ms` after the last moment.
  void elapseAfter(qint64 ms) {
    services.clockMs += ms;
    session.tick().elapse();
  }
  // One column of the last row, read through a connection of the test's own.
  QVariant lastRow(const char* column) {
    QVariant value;
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "probe");
      db.setDatabaseName(runtime.places().root() + "/history.sqlite3");
      EXPECT_TRUE(db.open());
      QSqlQuery query(db);
      EXPECT_TRUE(query.exec(QStringLiteral("SELECT %1 FROM sessions ORDER BY id DESC LIMIT 1")
                                 .arg(QLatin1String(column))));
      if (query.next()) value = query.value(0);
    }
    QSqlDatabase::removeDatabase("probe");
    return value;
  }

  QTemporaryDir home;
  ScriptedServices services;
  Runtime runtime{services, Places(home.path() + QStringLiteral("/tempodial"))};
  ClockSession session{runtime};
};

// When the clock's ticks come, late, early or after the process was stopped,
// the clock shows the whole seconds of real time since it was started, and
// every minute among them is charged. Each case runs the clock twice in a
// row: the second run counts from its own start.
struct CatchUp {
  const char* name;
  std::vector<qint64> ticksAfterMs;
  qint64 stopAfterMs;  // the clock is stopped this long after the last tick
  const char* shown;   // after both runs
  int counted;         // as the journal keeps each run
};

class ClockCatchUpTest : public ClockSessionTest, public testing::WithParamInterface<CatchUp> {};

TEST_P(ClockCatchUpTest, ShowsTheWholeSecondsOfRealTime) {
  const CatchUp& c = GetParam();
  for (int run = 1; run <= 2; ++run) {
    clock().startStop();
    EXPECT_TRUE(session.tick().enabled()) << "the tick runs exactly while the clock runs";
    for (qint64 ms : c.ticksAfterMs) elapseAfter(ms);
    services.clockMs += c.stopAfterMs;
    clock().startStop();
    EXPECT_FALSE(session.tick().enabled());
    if (c.counted == 0) {
      // A run that counted no second leaves no row.
      EXPECT_FALSE(lastRow("seconds").isValid()) << "run " << run;
    } else {
      EXPECT_EQ(lastRow("seconds").toInt(), c.counted) << "run " << run;
      EXPECT_EQ(lastRow("end_kind").toString(), QStringLiteral("stopped")) << "run " << run;
    }
    services.clockMs += 5000;  // stopped meanwhile
    session.tick().elapse();   // a stopped clock's tick adds nothing
  }
  EXPECT_EQ(shown(), QString::fromLatin1(c.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, ClockCatchUpTest,
    testing::Values(
        CatchUp{"OnTime", {1000, 1000, 1000}, 0, "0:0:6 0", 3},
        CatchUp{"EarlyAndLateTicksCountTheirOwnSecond", {999, 1001, 990, 1010}, 0, "0:0:8 0", 4},
        CatchUp{"StoppedForTenSeconds", {1000, 10200}, 0, "0:0:22 0", 11},
        CatchUp{"StoppedForTwoMinutesChargesEachMinute", {1000, 125000}, 0, "0:4:12 0.056", 126},
        CatchUp{"StopCountsTheWholeSecondsSinceTheLastTick", {1000}, 1700, "0:0:4 0", 2},
        CatchUp{"StopBeforeAWholeSecondAddsNothing", {}, 900, "0:0:0 0", 0}),
    [](const testing::TestParamInfo<CatchUp>& info) { return std::string(info.param.name); });

TEST_F(ClockSessionTest, RunIsKeptUpToDateWhileRunningAndClosedAsStopped) {
  clock().setCost(QStringLiteral("0.5"));
  clock().startStop();
  for (int i = 0; i < 12; ++i) elapseAfter(1000);
  // Brought up to date every five counted seconds, inside the tick.
  EXPECT_EQ(lastRow("seconds").toInt(), 10);
  EXPECT_EQ(lastRow("secs").toString(), QStringLiteral("10"));
  EXPECT_TRUE(lastRow("end_kind").isNull());
  clock().startStop();
  EXPECT_EQ(lastRow("end_kind").toString(), QStringLiteral("stopped"));
  EXPECT_EQ(lastRow("seconds").toInt(), 12);
  EXPECT_EQ(lastRow("cost_start").toString(), QStringLiteral("0.5"));
  EXPECT_EQ(lastRow("cost_end").toString(), QStringLiteral("0.5"));
  EXPECT_EQ(lastRow("tariff").toString(), QStringLiteral("Weekday"));
  EXPECT_DOUBLE_EQ(lastRow("rate").toDouble(), 1.4);
  EXPECT_EQ(lastRow("currency").toString(), QStringLiteral("£"));
  EXPECT_EQ(lastRow("utc_offset").toInt(), QDateTime::currentDateTime().offsetFromUtc());
  EXPECT_TRUE(services.messages.isEmpty() && services.notices.isEmpty())
      << services.messages.join('\n').toStdString();
}

// However the program ends while the clock runs, the run is closed with the
// seconds completed and the kind of end, and no file of the data directory is
// touched.
struct End {
  const char* name;
  bool bySystem;  // a signal or the end of the desktop session, not the program's own exit
  const char* kind;
  int seconds;
};

class ProgramEndTest : public ClockSessionTest, public testing::WithParamInterface<End> {};

TEST_P(ProgramEndTest, ClosesTheRunningRunAsItEnded) {
  const End& e = GetParam();
  clock().startStop();
  elapseAfter(1000);
  services.clockMs += 3400;  // ended between two ticks
  const QDir data(runtime.places().folder(Place::Data));
  const QStringList before = data.entryList(QDir::Files);
  if (e.bySystem) {
    session.endForSystem();
  } else {
    runtime.endProgram();
  }
  EXPECT_EQ(services.ends, 1);
  EXPECT_EQ(lastRow("end_kind").toString(), QString::fromLatin1(e.kind));
  EXPECT_EQ(lastRow("seconds").toInt(), e.seconds);
  EXPECT_EQ(data.entryList(QDir::Files), before);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, ProgramEndTest,
    testing::Values(End{"ItsOwnExitKeepsTheSecondsOnTheClock", false, "exit", 1},
                    End{"TheSystemsEndAddsTheSecondsCompleted", true, "interrupted", 4}),
    [](const testing::TestParamInfo<End>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tempodial

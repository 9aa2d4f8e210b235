// A journal killed at a random moment while it writes is still a sound
// database, holds the run as it was at its last commit or the one before,
// and its day totals still equal the sums of its rows.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <algorithm>
#include <random>

#include "platform/journal/session_journal.h"
#include "tests/platform/journal/totals_check.h"

namespace tempodial {
namespace {

// The child keeps a run up to date, as the clock does, until it is killed.
[[noreturn]] void recordForever(const QString& path) {
  SessionJournal journal(path);
  if (!journal.open().ok()) _exit(3);
  SessionSnapshot now{"0", "0", "0", "0", "Weekday", 1.4, "£", 0};
  auto row = journal.begin(now, QDateTime::currentDateTimeUtc(), 0);
  if (!row.ok()) _exit(4);
  for (qint64 second = 1;; ++second) {
    now.counted = second;
    now.seconds = QString::number(second % 60);
    now.cost = QString::number(static_cast<double>(second) * 0.014, 'g', 17);
    if (!journal.update(row.value(), now, QDateTime::currentDateTimeUtc(), second % 6 == 0).ok()) {
      _exit(5);
    }
    if (second % 50 == 0 &&
        !journal.finish(row.value(), now, QDateTime::currentDateTimeUtc(), SessionEnd::Stopped)
             .ok()) {
      _exit(6);
    }
    if (second % 50 == 0) {
      now.currency = second % 100 == 0 ? QStringLiteral("£") : QStringLiteral("Fr");
      row = journal.begin(now, QDateTime::currentDateTimeUtc(), 0);
    }
  }
}

TEST(KillDuringJournalWrite, IntegrityCheckIsOkAfterEveryKill) {
  int argc = 0;
  QCoreApplication app(argc, nullptr);
  QTemporaryDir dir;
  const QString path = dir.path() + "/history.sqlite3";
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> delayMicros(500, 30000);
  qint64 lastCounted = -1;
  for (int kill = 0; kill < 100; ++kill) {
    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) recordForever(path);
    usleep(static_cast<useconds_t>(delayMicros(random)));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status))
        << "the recording child stopped by itself, status " << WEXITSTATUS(status);
    {
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "probe");
      db.setDatabaseName(path);
      ASSERT_TRUE(db.open());
      QSqlQuery query(db);
      ASSERT_TRUE(query.exec("PRAGMA integrity_check") && query.next());
      EXPECT_EQ(query.value(0).toString(), "ok") << "after kill " << kill;
      // A child killed before it made its table leaves none.
      if (query.exec("SELECT max(seconds) FROM sessions") && query.next()) {
        lastCounted = std::max(lastCounted, query.value(0).toLongLong());
        EXPECT_EQ(dayTotalsMismatch(db), QStringList()) << "after kill " << kill;
      }
    }
    QSqlDatabase::removeDatabase("probe");
  }
  EXPECT_GT(lastCounted, 0) << "the child never committed a write";
}

}  // namespace
}  // namespace tempodial

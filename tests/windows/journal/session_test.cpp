// The session journal as the windows meet it: the exit closes the running run,
// a journal lost or broken is told, and a run that was cut short is offered
// back. How the clock counts and keeps its runs is the clock session's own
// (tests/platform/session).
#include <sys/mount.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <vector>

#include "platform/clock/clock_model.h"
#include "platform/desktop/sleep_watch.h"
#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "platform/journal/session_journal.h"
#include "tests/windows/window_fixture.h"
#include "windows/help/about_window.h"
#include "windows/journal/restore_window.h"
#include "windows/main/main_window.h"
#include "windows/start_and_exit/exit_window.h"
#include "windows/start_and_exit/splash_window.h"

namespace tempodial {
namespace {

class SessionTest : public WindowTest {
 protected:
  void SetUp() override { startMain(); }

  QString journalPath() const { return runtime->places().root() + "/history.sqlite3"; }
  QString shown() {
    return session->clock().hours() + ":" + session->clock().minutes() + ":" +
           session->clock().seconds();
  }
  void startStop() { session->clock().startStop(); }
  // The clock's tick elapses `ms` after the last moment.
  void elapseAfter(qint64 ms) {
    services.clockMs += ms;
    session->tick().elapse();
  }
  // One column of the last row, read through a connection of the test's own.
  QVariant lastRow(const char* column) {
    QVariant value;
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "probe");
      db.setDatabaseName(journalPath());
      EXPECT_TRUE(db.open());
      QSqlQuery query(db);
      EXPECT_TRUE(query.exec(QStringLiteral("SELECT %1 FROM sessions ORDER BY id DESC LIMIT 1")
                                 .arg(QLatin1String(column))));
      if (query.next()) value = query.value(0);
    }
    QSqlDatabase::removeDatabase("probe");
    return value;
  }
  void answer(const QString& window, const char* button) {
    services.answerModal(window, [button](Form& form) {
      auto* target = form.findChild<Button*>(QString::fromLatin1(button));
      ASSERT_NE(target, nullptr) << button;
      target->click();
    });
  }
  // A run left in the journal as a killed program leaves it: no end, and
  // brought up to date once since its start, cost and all.
  void leaveOpenRun(const QString& h, const QString& m, const QString& s, const QString& cost) {
    SessionJournal journal(journalPath());
    ASSERT_TRUE(journal.open().ok());
    SessionSnapshot snapshot{"1", "4", "0", "0.5", "Weekday", 1.4, QStringLiteral("£"), 0};
    const QDateTime start = QDateTime::currentDateTimeUtc().addSecs(-65);
    auto row = journal.begin(snapshot, start, 3600);
    ASSERT_TRUE(row.ok());
    snapshot = {h, m, s, cost, "Weekday", 1.4, QStringLiteral("£"), 65};
    ASSERT_TRUE(journal.update(row.value(), snapshot, start.addSecs(65), false).ok());
  }
  // Earlier runs: one cut short that nobody was asked about, then one stopped.
  void leaveEarlierRuns() {
    SessionJournal journal(journalPath());
    ASSERT_TRUE(journal.open().ok());
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-2);
    SessionSnapshot snapshot{"7", "7", "7", "5.5", "Weekend", 0.9, QStringLiteral("£"), 0};
    for (SessionEnd end : {SessionEnd::Interrupted, SessionEnd::Stopped}) {
      auto row = journal.begin(snapshot, start, 3600);
      ASSERT_TRUE(row.ok());
      snapshot.cost = QStringLiteral("6.25");
      snapshot.counted = 30;
      ASSERT_TRUE(journal.finish(row.value(), snapshot, start.addSecs(30), end).ok());
    }
  }
};

TEST_F(SessionTest, ExitClosesTheRunAsExit) {
  startStop();
  elapseAfter(3000);
  answer(QString::fromLatin1(ExitWindow::kName), "Command2");  // "Exit no save"
  main().Command3->click();
  EXPECT_EQ(services.ends, 1);
  EXPECT_EQ(lastRow("end_kind").toString(), QStringLiteral("exit"));
  EXPECT_EQ(lastRow("seconds").toInt(), 3);
}

TEST_F(SessionTest, JournalDeletedWhileTheClockRunsIsMadeAgainWithTheRunningRun) {
  startStop();
  for (int i = 0; i < 6; ++i) elapseAfter(1000);
  ASSERT_TRUE(QFile::remove(journalPath()));
  for (int i = 0; i < 5; ++i) elapseAfter(1000);
  QCoreApplication::processEvents();
  ASSERT_TRUE(QFile::exists(journalPath()));
  EXPECT_EQ(lastRow("seconds").toInt(), 10);
  ASSERT_EQ(services.notices.size(), 1);
  EXPECT_TRUE(services.notices.first().contains(journalPath() + " was deleted"))
      << services.notices.first().toStdString();
  startStop();
  EXPECT_EQ(lastRow("end_kind").toString(), QStringLiteral("stopped"));
  EXPECT_EQ(lastRow("seconds").toInt(), 11);
  EXPECT_EQ(lastRow("id").toInt(), 1) << "the only row of the new journal";
  EXPECT_EQ(services.notices.size(), 1);
}

TEST_F(SessionTest, SleepWhileRunningIsToldAndNotCounted) {
  startStop();
  auto* watch = main().clock().findChild<SleepWatch*>();
  ASSERT_NE(watch, nullptr);
  qint64 boot = 0;
  watch->bootClockMs = [&boot] { return boot; };
  watch->runClockMs = [this] { return services.clockMs; };
  elapseAfter(1000);
  watch->prepareForSleep(true);
  boot += 760'400;  // asleep: the clock the timer counts by stands still
  watch->prepareForSleep(false);
  elapseAfter(1000);
  EXPECT_EQ(main().SSPanel1->caption(),
            QStringLiteral("The computer slept for 0:12:40; the timer did not count that time"));
  EXPECT_EQ(shown(), QStringLiteral("0:0:2"));
  startStop();
  watch->prepareForSleep(true);
  watch->prepareForSleep(false);
  EXPECT_EQ(main().SSPanel1->caption(), QStringLiteral("The timer has been touched"))
      << "a stopped clock has nothing to tell";
}

// At start-up a run that was cut short is offered back once; any other last
// run, or none, asks nothing.
struct Offer {
  const char* name;
  bool cutShort;       // the last run has no end (a kill, a power cut)
  const char* button;  // the answer, or nullptr when nothing must be asked
  const char* shown;   // the clock afterwards
  const char* cost;
  const char* status;
};

class RestoreOfferTest : public SessionTest, public testing::WithParamInterface<Offer> {};

TEST_P(RestoreOfferTest, AsksOnceAndRestoresOnlyWhenAsked) {
  const Offer& o = GetParam();
  leaveEarlierRuns();
  if (o.cutShort) {
    leaveOpenRun("1", "5", "9", "0.924");
  } else {
    startStop();
    elapseAfter(1000);
    startStop();
  }
  session->clock().setCounter(clock::Counter::Seconds, "0");
  const QString status = main().SSPanel1->caption();
  const QString window = QString::fromLatin1(RestoreWindow::kName);
  QString described;
  if (o.button != nullptr) {
    services.answerModal(window, [&](Form& form) {
      described = static_cast<RestoreWindow&>(form).Label1->caption();
      form.findChild<Button*>(QString::fromLatin1(o.button))->click();
    });
  }
  offerRestore(*runtime, session->clock());
  if (o.cutShort) {
    EXPECT_TRUE(described.contains("with 1:5:9 on the clock and 0.924 as the cost"))
        << described.toStdString();
  }
  EXPECT_EQ(services.modalsShown.count(window), o.button != nullptr ? 1 : 0);
  EXPECT_EQ(shown(), QString::fromLatin1(o.shown));
  EXPECT_EQ(session->clock().cost(), QString::fromLatin1(o.cost));
  EXPECT_EQ(main().SSPanel1->caption(), o.status ? QString::fromUtf8(o.status) : status);
  EXPECT_FALSE(session->tick().enabled()) << "the clock stays stopped";
  // Asked once: the next start asks nothing.
  offerRestore(*runtime, session->clock());
  EXPECT_LE(services.modalsShown.count(window), 1);
  EXPECT_TRUE(services.unanswered.isEmpty());
  if (o.cutShort) {
    EXPECT_EQ(lastRow("end_kind").toString(), QStringLiteral("interrupted"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    StartUp, RestoreOfferTest,
    testing::Values(Offer{"CutShortRestored", true, "Command1", "1:5:9", "0.924",
                          "The last session has been restored"},
                    Offer{"CutShortDiscarded", true, "Command2", "0:0:0", "0", nullptr},
                    Offer{"StoppedAsksNothing", false, nullptr, "0:0:0", "0", nullptr}),
    [](const testing::TestParamInfo<Offer>& info) { return std::string(info.param.name); });

TEST_F(SessionTest, AboutWhileTheClockRunsLeavesTheClockAndTheRunAlone) {
  main().show();
  startStop();
  for (int i = 0; i < 7; ++i) elapseAfter(1000);
  for (int about = 0; about < 2; ++about) {
    answer(QString::fromLatin1(AboutWindow::kName), "Command1");
    main().about->trigger();
    // The borrowed splash window's timer ticks before the main window's.
    runtime->form<SplashWindow>().Timer1->elapse();
    QCoreApplication::processEvents();
  }
  EXPECT_EQ(services.modalsShown.count(QString::fromLatin1(RestoreWindow::kName)), 0);
  EXPECT_EQ(shown(), QStringLiteral("0:0:7"));
  EXPECT_TRUE(session->tick().enabled());
  EXPECT_TRUE(lastRow("end_kind").isNull());
  EXPECT_EQ(lastRow("seconds").toInt(), 5);
}

TEST_F(SessionTest, QuestionLeftOpenByAKillIsAskedAgainAtTheNextStart) {
  leaveOpenRun("0", "3", "7", "0.042");
  const QString window = QString::fromLatin1(RestoreWindow::kName);
  services.answerModal(window, [this](Form&) {
    // What a kill now would leave for the next start.
    SessionJournal journal(journalPath());
    ASSERT_TRUE(journal.open().ok());
    EXPECT_TRUE(journal.unansweredInterruption().has_value());
  });
  offerRestore(*runtime, session->clock());  // left unanswered
  answer(window, "Command2");
  offerRestore(*runtime, session->clock());
  offerRestore(*runtime, session->clock());
  EXPECT_EQ(services.modalsShown.count(window), 2);
  EXPECT_EQ(lastRow("restore_asked").toInt(), 1);
}

TEST_F(SessionTest, FirstRunAsksNothingAndCreatesTheJournalBesideTheDataDirectory) {
  offerRestore(*runtime, session->clock());
  EXPECT_TRUE(services.modalsShown.isEmpty());
  EXPECT_FALSE(QFile::exists(journalPath())) << "made when the clock first starts";
  startStop();
  EXPECT_TRUE(QFile::exists(journalPath()));
  EXPECT_FALSE(QFile::exists(runtime->places().folder(Place::Data) + "/history.sqlite3"));
}

// A journal that is no sound journal is moved aside, named with the reason,
// and a new one takes its place.
struct Broken {
  const char* name;
  void (*make)(const QString& path);
};

class BrokenJournalTest : public SessionTest, public testing::WithParamInterface<Broken> {};

TEST_P(BrokenJournalTest, IsMovedAsideAndANewJournalStarts) {
  GetParam().make(journalPath());
  offerRestore(*runtime, session->clock());
  ASSERT_EQ(services.messages.size(), 1);
  const QString message = services.messages.first();
  EXPECT_TRUE(message.contains(journalPath() + " could not be read")) << message.toStdString();
  const QStringList aside =
      QDir(runtime->places().root()).entryList({"history.sqlite3.broken-*"}, QDir::AllEntries);
  ASSERT_EQ(aside.size(), 1);
  EXPECT_TRUE(message.contains(runtime->places().root() + "/" + aside.first()));
  startStop();
  elapseAfter(1000);
  startStop();
  EXPECT_EQ(lastRow("end_kind").toString(), QStringLiteral("stopped"));
  EXPECT_EQ(services.messages.size(), 1);
}

void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BrokenJournalTest,
    testing::Values(
        Broken{"NotADatabase", [](const QString& p) { writeBytes(p, QByteArray(5000, 'x')); }},
        Broken{"AFolder", [](const QString& p) { QDir().mkpath(p + "/inner"); }},
        Broken{"DamagedPages",
               [](const QString& p) {
                 {
                   SessionJournal journal(p);
                   ASSERT_TRUE(journal.open().ok());
                   SessionSnapshot s{"0", "0", "0", "0", QString(300, 'T'), 1.4, "£", 0};
                   for (int i = 0; i < 200; ++i) {
                     ASSERT_TRUE(journal.begin(s, QDateTime::currentDateTimeUtc(), 0).ok());
                   }
                 }
                 QFile file(p);
                 ASSERT_TRUE(file.open(QIODevice::ReadWrite));
                 file.seek(2 * 4096);
                 file.write(QByteArray(3 * 4096, '\x5a'));
                 // Written later than the close, as a start finds it.
                 file.setFileTime(QDateTime::currentDateTime().addSecs(2),
                                  QFileDevice::FileModificationTime);
               }}),
    [](const testing::TestParamInfo<Broken>& info) { return std::string(info.param.name); });

TEST_F(SessionTest, ReadOnlyJournalIsReportedOnceAndTheClockGoesOn) {
  // The journal file is made read-only by a read-only bind mount of itself.
  {
    SessionJournal journal(journalPath());
    ASSERT_TRUE(journal.open().ok());
  }
  const QByteArray target = journalPath().toLocal8Bit();
  if (geteuid() != 0 ||
      mount(target.constData(), target.constData(), nullptr, MS_BIND, nullptr) != 0) {
    GTEST_SKIP() << "a read-only bind mount cannot be made here";
  }
  struct Unmount {
    QByteArray path;
    ~Unmount() { umount2(path.constData(), MNT_DETACH); }  // the journal may still be open
  } unmount{target};
  ASSERT_EQ(mount(nullptr, target.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr),
            0);
  for (int run = 0; run < 2; ++run) {
    startStop();
    elapseAfter(6000);
    startStop();
  }
  ASSERT_EQ(services.notices.size(), 1);
  EXPECT_TRUE(services.notices.first().startsWith("The session journal " + journalPath() +
                                                  " cannot be written"))
      << services.notices.first().toStdString();
  EXPECT_EQ(shown(), QStringLiteral("0:0:12"));
}

// The first run finds the disk full at its sixth update, the first durable
// one; the next at its closing write, durable too.
TEST_F(SessionTest, FullDiskIsReportedOnceARunAndTheRowKeepsItsLastGoodSeconds) {
  const QByteArray root = runtime->places().root().toLocal8Bit();
  QDir().mkpath(runtime->places().root());
  if (geteuid() != 0 || mount("tmpfs", root.constData(), "tmpfs", 0, "size=1m") != 0) {
    GTEST_SKIP() << "a small tmpfs cannot be mounted here";
  }
  struct Unmount {
    QByteArray path;
    ~Unmount() { umount2(path.constData(), MNT_DETACH); }  // the journal may still be open
  } unmount{root};
  const QString filler = runtime->places().root() + "/filler";
  for (const auto& [before, after] : {std::pair{25, 6}, std::pair{5, 0}}) {
    const qsizetype reported = services.notices.size();
    startStop();
    for (int i = 0; i < before; ++i) elapseAfter(1000);
    ASSERT_EQ(lastRow("seconds").toInt(), before);
    {
      QFile file(filler);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      while (file.write(QByteArray(4096, 'f')) == 4096 && file.flush()) {
      }
    }
    for (int i = 0; i < after; ++i) elapseAfter(1000);
    QCoreApplication::processEvents();
    EXPECT_EQ(services.notices.size(), reported + (after > 0 ? 1 : 0)) << "told when it fails";
    EXPECT_TRUE(session->tick().enabled());
    startStop();
    QFile::remove(filler);
    ASSERT_EQ(services.notices.size(), reported + 1) << before;
    EXPECT_TRUE(services.notices.last().startsWith("The session journal " + journalPath() +
                                                   " cannot be written"))
        << services.notices.last().toStdString();
    EXPECT_EQ(lastRow("seconds").toInt(), before);
    EXPECT_TRUE(lastRow("end_kind").isNull()) << "offered back at the next start";
  }
}

}  // namespace
}  // namespace tempodial

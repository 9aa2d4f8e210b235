// The History window over a real journal file: opened from the menu without
// blocking, its month, day and year views, deleting, a broken journal, and
// the limits warning while the clock runs.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSettings>
#include <QSpinBox>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTimeZone>
#include <QTimer>
#include <atomic>
#include <ctime>
#include <functional>
#include <string>
#include <thread>
#include <tuple>

#include "core/history/period.h"
#include "platform/clock/clock_model.h"
#include "platform/files/settings_file.h"
#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "platform/journal/session_journal.h"
#include "platform/plans/plan_store.h"
#include "platform/session/session_recorder.h"
#include "tests/windows/window_fixture.h"
#include "windows/history/history_chart.h"
#include "windows/history/history_limits.h"
#include "windows/history/history_tables.h"
#include "windows/history/history_window.h"
#include "windows/history/session_model.h"
#include "windows/main/main_window.h"

namespace tempodial {
namespace {

// The History window in a time zone of the test's choosing.
class HistoryFixture : public WindowTest {
 protected:
  virtual const char* zoneName() const = 0;
  void SetUp() override {
    zone = qgetenv("TZ");
    qputenv("TZ", zoneName());
    tzset();
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    startMain();
  }
  void TearDown() override {
    zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
    tzset();
  }

  // A finished session that started at `start` (local time).
  void add(const QDateTime& start, qint64 seconds, const char* costEnd, const char* currency,
           const char* tariff = "Day", qint64 received = 0, qint64 sent = 0) {
    SessionJournal& journal = runtime->journal();
    ASSERT_TRUE(journal.open().ok());
    const QString plan = QString::fromUtf8(tariff), symbol = QString::fromUtf8(currency);
    auto row =
        journal.begin({"0", "0", "0", "0", plan, 2, symbol}, start.toUTC(), start.offsetFromUtc());
    ASSERT_TRUE(row.ok());
    const SessionSnapshot end{"0",     "0",      "0", QString::fromUtf8(costEnd), plan, 2, symbol,
                              seconds, received, sent};
    ASSERT_TRUE(
        journal.finish(row.value(), end, start.toUTC().addSecs(seconds), SessionEnd::Stopped).ok());
  }

  HistoryWindow& openFromMenu() {
    auto* item = main().findChild<QAction*>(QStringLiteral("history"));
    EXPECT_NE(item, nullptr);
    item->trigger();
    return runtime->form<HistoryWindow>();
  }

  // The texts of a row's time and cost, or of its data ("Received" and after).
  static QStringList rowTexts(QAbstractItemModel* model, int row, bool data = false) {
    int received = 0;
    while (model->headerData(received, Qt::Horizontal).toString() != "Received") ++received;
    QStringList texts;
    for (int column = data ? received : 0; column < (data ? model->columnCount() : received);
         ++column) {
      texts << model->index(row, column).data().toString();
    }
    return texts;
  }

  void elapseAfter(qint64 ms) {
    services.clockMs += ms;
    session->tick().elapse();
  }
  QString status() { return main().SSPanel1->caption(); }

  QByteArray zone;
};

// Each case runs in three time zones: UTC, one west of it, and one whose
// daylight-saving change is half an hour.
class HistoryWindowTest : public HistoryFixture, public testing::WithParamInterface<const char*> {
 protected:
  const char* zoneName() const override { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Zones, HistoryWindowTest,
                         testing::Values("UTC", "America/New_York", "Australia/Lord_Howe"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           return name.substr(name.find('/') + 1);
                         });

TEST_P(HistoryWindowTest, MenuItemOpensAWindowThatNeverBlocksAndNamesEveryControl) {
  QMenu* menu = main().menuBar->actions().first()->menu();
  QStringList captions;
  for (QAction* action : menu->actions()) captions << action->text();
  EXPECT_EQ(captions, (QStringList{"&View", "&History...", "Tariff &plans...",
                                   "&Automatic timing...", "", "E&xit"}));
  auto* item = main().findChild<QAction*>(QStringLiteral("history"));
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->shortcut(), QKeySequence(QStringLiteral("Ctrl+H")));

  HistoryWindow& history = openFromMenu();
  EXPECT_TRUE(history.isVisible());
  EXPECT_FALSE(history.isModal());
  EXPECT_TRUE(services.modalsShown.isEmpty());
  EXPECT_EQ(history.windowTitle(), "History");
  EXPECT_EQ(history.accessibleName(), "History");
  EXPECT_EQ(history.formIndex(), 13);
  // An empty history: the month's total row alone, and an empty chart.
  ASSERT_EQ(history.days->rowCount(), 1);
  EXPECT_EQ(rowTexts(history.days, 0), (QStringList{"Total", "0", "0:00:00", "0"}));
  EXPECT_EQ(history.chart->days().size(),
            static_cast<std::size_t>(QDate::currentDate().daysInMonth()));

  QStringList unnamed;
  for (QWidget* control : history.findChildren<QWidget*>()) {
    const bool interactive =
        qobject_cast<QAbstractButton*>(control) || qobject_cast<QAbstractSpinBox*>(control) ||
        qobject_cast<QAbstractItemView*>(control) || qobject_cast<QTabWidget*>(control) ||
        qobject_cast<HistoryChart*>(control);
    // The headers and corner of a table, and a list's pop-up, are their own parts.
    QWidget* parent = control->parentWidget();
    const bool part = qobject_cast<QAbstractItemView*>(parent) != nullptr ||
                      (parent != nullptr && qobject_cast<QComboBox*>(parent->parentWidget()));
    if (interactive && !part && control->accessibleName().isEmpty()) {
      unnamed << control->objectName() + "/" + control->metaObject()->className();
    }
  }
  EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();

  // Ctrl+H again brings the same window forward; Close unloads it.
  item->trigger();
  EXPECT_EQ(&runtime->form<HistoryWindow>(), &history);
  history.closeButton->click();
  EXPECT_FALSE(runtime->isLoaded(QStringLiteral("history")));
}

TEST_P(HistoryWindowTest, MonthDayAndYearViewsAddUpPerCurrencyAndDeleteOnlyWhenConfirmed) {
  const QDate first(2026, 3, 1);
  const QTime evening(23, 30);
  add(QDateTime(first.addDays(13), evening), 7200, "1.8", "£", "Night, late");  // across midnight
  add(QDateTime(first.addDays(13), QTime(0, 10)), 600, "0.5", "Fr");  // just after midnight
  add(QDateTime(first.addDays(30), QTime(23, 50)), 60, "0.25", "£");  // the month's last minutes
  add(QDateTime(QDate(2026, 7, 4), QTime(9, 0)), 3600, "3", "$");

  HistoryWindow& history = openFromMenu();
  history.period->setDate(QDate(2026, 3, 17));
  const QLocale locale;
  ASSERT_EQ(history.days->rowCount(), 3);
  EXPECT_EQ(rowTexts(history.days, 0),
            (QStringList{locale.toString(QDate(2026, 3, 14), QLocale::ShortFormat), "2", "2:10:00",
                         "Fr 0.5 + £1.8"}));
  EXPECT_EQ(rowTexts(history.days, 1),
            (QStringList{locale.toString(QDate(2026, 3, 31), QLocale::ShortFormat), "1", "0:01:00",
                         "£0.25"}));
  EXPECT_EQ(rowTexts(history.days, 2), (QStringList{"Total", "3", "2:11:00", "Fr 0.5 + £2.05"}));
  std::vector<qint64> chart(31, 0);
  chart[13] = 7800;
  chart[30] = 60;
  EXPECT_EQ(history.chart->days(), chart);

  history.daysTable->setCurrentIndex(history.days->index(0, 0));
  ASSERT_EQ(history.sessions->rowCount(), 2);
  EXPECT_EQ(rowTexts(history.sessions, 0),
            (QStringList{"00:10:00", "00:20:00", "0:10:00", "Day", "2", "Fr 0.5", "stopped"}));
  EXPECT_EQ(rowTexts(history.sessions, 1),
            (QStringList{"23:30:00",
                         locale.toString(QDate(2026, 3, 15), QLocale::ShortFormat) + " 01:30:00",
                         "2:00:00", "Night, late", "2", "£1.8", "stopped"}));

  QStringList asked;
  bool agree = false;
  history.confirm = [&](const QString& question) {
    asked << question;
    return agree;
  };
  history.sessionsTable->setCurrentIndex(history.sessions->index(1, 0));
  ASSERT_TRUE(history.deleteButton->isEnabled());
  history.deleteButton->click();
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].contains("23:30:00")) << asked[0].toStdString();
  EXPECT_EQ(history.sessions->rowCount(), 2);
  agree = true;
  history.deleteButton->click();
  EXPECT_EQ(rowTexts(history.days, 2), (QStringList{"Total", "2", "0:11:00", "Fr 0.5 + £0.25"}));
  ASSERT_EQ(history.sessions->rowCount(), 1);
  EXPECT_EQ(history.sessions->index(0, 0).data().toString(), "00:10:00");

  history.tabs->setCurrentIndex(1);
  ASSERT_EQ(history.months->rowCount(), 13);
  EXPECT_EQ(rowTexts(history.months, 0),
            (QStringList{locale.standaloneMonthName(1), "0", "0:00:00", "0"}));
  EXPECT_EQ(rowTexts(history.months, 2),
            (QStringList{locale.standaloneMonthName(3), "2", "0:11:00", "Fr 0.5 + £0.25"}));
  EXPECT_EQ(rowTexts(history.months, 6),
            (QStringList{locale.standaloneMonthName(7), "1", "1:00:00", "$3"}));
  EXPECT_EQ(rowTexts(history.months, 12),
            (QStringList{"Total 2026", "3", "1:11:00", "Fr 0.5 + £0.25 + $3"}));
  history.previous->click();
  EXPECT_EQ(rowTexts(history.months, 12), (QStringList{"Total 2025", "0", "0:00:00", "0"}));

  // The export writes the shown year, or the shown month with its last minutes.
  const QString file = home.path() + "/out.csv";
  history.next->click();
  for (const auto& [tab, suggested, sessions] :
       {std::tuple{1, "tempodial-2026.csv", 3}, std::tuple{0, "tempodial-2026-03.csv", 2}}) {
    history.tabs->setCurrentIndex(tab);
    history.chooseFile = [&](const QString& name) {
      EXPECT_EQ(name, suggested);
      return file;
    };
    history.exportButton->click();
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray csv = written.readAll();
    EXPECT_EQ(csv.count("\r\n"), sessions + 1);
    EXPECT_TRUE(csv.contains("\r\n2026-03-31T23:50:00")) << csv.toStdString();
    EXPECT_EQ(history.note->text(), QString("%1 sessions written to %2").arg(sessions).arg(file));
  }
}

// Each target is told apart: a FIFO is written as a stream when a program
// reads it and refused when none does; the journal and a folder in the way are
// refused. A refusal is told, and the note still names the last export.
TEST_P(HistoryWindowTest, ExportStreamsIntoAFifoAndNeverReplacesANodeOrTheProgramsOwnFile) {
  add(QDateTime(QDate(2026, 3, 14), QTime(10, 0)), 600, "0.5", "£");
  HistoryWindow& history = openFromMenu();
  history.period->setDate(QDate(2026, 3, 1));
  const QString fifo = home.path() + "/fifo", folder = home.path() + "/in-the-way.csv",
                journal = runtime->places().root() + "/history.sqlite3";
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  ASSERT_TRUE(QDir().mkpath(folder));
  const QDateTime journalChanged = QFileInfo(journal).lastModified();
  const QString written = "1 sessions written to " + fifo;
  // path, a reader there before, how the message ends (none when written)
  const std::tuple<QString, bool, QString> cases[] = {
      {fifo, true, ""},
      {fifo, false, "no program is reading from it"},
      {journal, false, "that is the program's own file"},
      {folder, false, "Is a directory"},
  };
  for (const auto& [path, reading, said] : cases) {
    services.messages.clear();
    history.chooseFile = [&](const QString&) { return path; };
    const int reader =
        reading ? ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK) : -1;
    history.exportButton->click();
    EXPECT_EQ(history.note->text(), written) << path.toStdString();
    if (said.isEmpty()) {
      EXPECT_TRUE(services.messages.isEmpty()) << services.messages.join('\n').toStdString();
    } else {
      ASSERT_EQ(services.messages.size(), 1) << path.toStdString();
      EXPECT_TRUE(services.messages[0].startsWith("The history could not be written to " + path) &&
                  services.messages[0].endsWith(said))
          << services.messages[0].toStdString();
    }
    char read[16] = {};  // the few rows fit in the pipe
    if (reader >= 0) (void)::read(reader, read, 6);
    EXPECT_STREQ(read, reading ? "start," : "");
    if (reader >= 0) ::close(reader);
  }
  EXPECT_FALSE(QFileInfo(fifo).isFile());
  EXPECT_TRUE(QFileInfo(folder).isDir() && QDir(folder).isEmpty());
  EXPECT_EQ(QFileInfo(journal).lastModified(), journalChanged);
}

class UtcHistoryTest : public HistoryFixture {
 protected:
  const char* zoneName() const override { return "UTC"; }
};

// More CSV than a pipe holds, into a FIFO whose program does not read: the
// window and the clock go on, the window says that the reader takes nothing,
// and the export ends when it reads, or when the user cancels it.
TEST_F(UtcHistoryTest, ExportIntoAFifoThatIsNotReadNeverHoldsUpTheProgram) {
  for (int i = 0; i < 700; ++i) {
    add(QDateTime(QDate(2026, 3, 1 + i % 28), QTime(i / 28, 0)), 60, "0.5", "£");
  }
  HistoryWindow& history = openFromMenu();
  history.period->setDate(QDate(2026, 3, 1));
  const QString fifo = home.path() + "/fifo";
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  history.chooseFile = [&](const QString&) { return fifo; };
  // Runs the event loop until `done`, for at most ten seconds of real time:
  // the writer writes only from the event loop, as the reader takes.
  const auto waitUntil = [](const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 10'000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      ::usleep(1000);
    }
  };
  for (const bool cancel : {false, true}) {
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ::fcntl(reader, F_SETPIPE_SZ, 4096);  // a small pipe: the CSV does not fit
    // Reads once told to, or after five seconds should the export hold the
    // program up (then the export comes back late).
    std::atomic<bool> drain = false;
    QByteArray drained;
    std::thread readerThread([&] {
      for (int waited = 0; !drain && waited < 500; ++waited) ::usleep(10'000);
      pollfd ready{reader, POLLIN, 0};
      char buffer[65536];
      while (::poll(&ready, 1, 5000) == 1) {
        const ssize_t got = ::read(reader, buffer, sizeof buffer);
        if (got <= 0) break;
        drained.append(buffer, got);
      }
    });
    QElapsedTimer clock;
    clock.start();
    history.exportButton->click();
    EXPECT_LT(clock.elapsed(), 2000) << "the export held the window up";
    if (drained.isEmpty()) {
      EXPECT_TRUE(history.cancelExport->isVisibleTo(&history));
      EXPECT_FALSE(history.exportButton->isVisibleTo(&history));
      // The clock counts meanwhile.
      if (!cancel) session->clock().startStop();
      elapseAfter(1000);
      EXPECT_EQ(session->clock().seconds(), cancel ? "2" : "1");
      auto* check = history.findChild<FormTimer*>("readerCheck");
      ASSERT_NE(check, nullptr);
      check->elapse();
      check->elapse();
      EXPECT_EQ(history.note->text(), "The program reading " + fifo +
                                          " takes nothing: the export waits for it (Cancel "
                                          "export gives up).");
      if (cancel) {
        history.cancelExport->click();
      } else {
        // Read a little: the export goes on, and says so.
        char some[4096];
        const ssize_t got = ::read(reader, some, sizeof some);
        ASSERT_GT(got, 0);
        drained.append(some, got);
        const QString writing = "Writing 700 sessions to " + fifo + "...";
        waitUntil([&] { return history.note->text() == writing; });
        EXPECT_EQ(history.note->text(), writing);
      }
    }
    drain = true;
    const QString done =
        cancel ? "The export to " + fifo + " was cancelled." : "700 sessions written to " + fifo;
    waitUntil([&] { return history.note->text() == done; });
    readerThread.join();
    ::close(reader);
    EXPECT_EQ(history.note->text(), done);
    EXPECT_TRUE(history.exportButton->isVisibleTo(&history));
    EXPECT_FALSE(history.cancelExport->isVisibleTo(&history));
    EXPECT_EQ(drained.count("\r\n") == 701, !cancel) << drained.count("\r\n");
  }
}

// A window closed while its message is up (as an assistive action closes it,
// from inside the message's own event loop) lives until the message has
// returned, and is deleted once no handler waits any more.
TEST_F(UtcHistoryTest, ClosedWhileItsMessageIsUpItLivesUntilTheMessageReturns) {
  QPointer<HistoryWindow> history = &openFromMenu();
  QTimer::singleShot(0, history.data(), [this] { runtime->message(QStringLiteral("Asked")); });
  bool aliveAtReturn = false;
  services.onNextMessage([&](const QString&) {
    QEventLoop box;  // what a message box runs until it is answered
    QTimer::singleShot(0, &box, [&] {
      history->closeButton->click();
      QMetaObject::invokeMethod(&box, &QEventLoop::quit, Qt::QueuedConnection);
    });
    box.exec();
    aliveAtReturn = !history.isNull();
  });
  QCoreApplication::processEvents();
  ASSERT_EQ(services.messages.size(), 1);
  EXPECT_TRUE(aliveAtReturn);
  EXPECT_FALSE(runtime->isLoaded(HistoryWindow::kName));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(history.isNull());
  // Closed with nothing waiting: deleted as soon as control is back.
  history = &openFromMenu();
  history->closeButton->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(history.isNull());
}

class LondonHistoryTest : public HistoryFixture {
 protected:
  const char* zoneName() const override { return "Europe/London"; }
};

TEST_F(LondonHistoryTest, ASessionAcrossTheClocksGoingForwardEndsInItsOwnLocalTime) {
  // 31 March 2024 from 00:30 GMT for three hours: to 04:30 BST. One kept at
  // +05:30 (in another zone) keeps its offset.
  add(QDateTime(QDate(2024, 3, 31), QTime(0, 30)), 3 * 3600, "1", "£");
  add(QDateTime(QDate(2024, 3, 31), QTime(5, 0), QTimeZone(19800)), 3 * 3600, "1", "£");
  HistoryWindow& history = openFromMenu();
  history.period->setDate(QDate(2024, 3, 1));
  history.daysTable->setCurrentIndex(history.days->index(0, 0));
  ASSERT_EQ(history.sessions->rowCount(), 2);
  EXPECT_EQ(rowTexts(history.sessions, 0).mid(0, 2), (QStringList{"05:00:00", "08:00:00"}));
  EXPECT_EQ(rowTexts(history.sessions, 1).mid(0, 2), (QStringList{"00:30:00", "04:30:00"}));
}

TEST_P(HistoryWindowTest, BrokenJournalIsMovedAsideAndTheWindowStartsEmpty) {
  const QString path = runtime->places().root() + "/history.sqlite3";
  QDir().mkpath(runtime->places().root());
  {
    QFile broken(path);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(8192, 'x'));
  }
  HistoryWindow& history = openFromMenu();
  ASSERT_EQ(services.messages.size(), 1);
  EXPECT_TRUE(services.messages[0].contains("has been moved aside as"))
      << services.messages[0].toStdString();
  const QStringList aside = QDir(runtime->places().root()).entryList({"history.sqlite3.broken-*"});
  ASSERT_EQ(aside.size(), 1);
  EXPECT_EQ(QFile(runtime->places().root() + "/" + aside[0]).size(), 8192);
  ASSERT_EQ(history.days->rowCount(), 1);
  EXPECT_EQ(history.days->item(0, 0)->text(), "Total");
  EXPECT_TRUE(history.note->text().isEmpty());
}

// A plan whose data allowance is `megabytes`, in use.
void useAllowancePlan(const char* megabytes) {
  QDir().mkpath(plansFolder());
  QFile file(plansFolder() + "/Mobile.ini");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray("[plan]\nrate=0\nallowance_mb=") + megabytes + "\n");
  file.close();
  ASSERT_TRUE(setPlanInUse(QStringLiteral("Mobile")).ok());
}

TEST_F(UtcHistoryTest, ABillingDayMovesTheMonthsTheirChartTotalsAndTheAllowanceShown) {
  useAllowancePlan("1000");
  for (const auto& [day, megabytes] :
       {std::pair{14, 100}, {15, 200}, {14 + 31, 300}, {15 + 31, 400}}) {
    add(QDateTime(QDate(2026, 2, 28).addDays(day), QTime(10, 0)), 60, "0", "£", "Day",
        megabytes * 1'000'000);
  }
  HistoryWindow& history = openFromMenu();
  history.period->setDate(QDate(2026, 3, 1));
  EXPECT_EQ(history.days->rowCount(), 3);  // the 14th, the 15th and the total
  EXPECT_FALSE(history.periodDays->isVisibleTo(&history));
  EXPECT_EQ(history.allowanceText->text(),
            "Data allowance 1 GB: 300 MB used, 700 MB left; it starts again on 1 Apr.");

  history.tabs->setCurrentIndex(2);
  history.limits->billingDay->setValue(0);  // no such day: the 1st stays
  EXPECT_EQ(history.limits->billingDay->value(), 1);
  history.limits->billingDay->setValue(32);
  EXPECT_EQ(history.limits->billingDay->value(), 31);
  history.limits->billingDay->setValue(15);
  EXPECT_EQ(QSettings(settingsPath(), QSettings::IniFormat).value("Billing/day").toString(), "15");
  history.tabs->setCurrentIndex(0);
  // March's month now runs from 15 March to 14 April.
  EXPECT_TRUE(history.periodDays->isVisibleTo(&history));
  EXPECT_EQ(history.periodDays->text(), "15 Mar - 14 Apr");
  ASSERT_EQ(history.days->rowCount(), 3);
  EXPECT_EQ(history.days->item(0, 0)->data().toDate(), QDate(2026, 3, 15));
  EXPECT_EQ(history.days->item(1, 0)->data().toDate(), QDate(2026, 4, 14));
  EXPECT_EQ(rowTexts(history.days, 2, true), (QStringList{"500.0 MB", "0 B", "500.0 MB"}));
  ASSERT_EQ(history.chart->days().size(), 31u);
  EXPECT_EQ(history.chart->days().front(), 60);
  EXPECT_EQ(history.chart->days().back(), 60);
  EXPECT_EQ(history.chart->dayNumbers().front(), 15);
  EXPECT_EQ(history.chart->dayNumbers().back(), 14);
  EXPECT_EQ(history.allowanceText->text(),
            "Data allowance 1 GB: 500 MB used, 500 MB left; it starts again on 15 Apr.");
  history.previous->click();
  EXPECT_EQ(history.periodDays->text(), "15 Feb - 14 Mar");
  EXPECT_EQ(history.chart->days().size(), 28u);
  EXPECT_EQ(rowTexts(history.days, 1, true), (QStringList{"100.0 MB", "0 B", "100.0 MB"}));
  history.next->click();
  history.next->click();
  EXPECT_EQ(history.periodDays->text(), "15 Apr - 14 May");
  EXPECT_EQ(history.allowanceText->text(),
            "Data allowance 1 GB: 400 MB used, 600 MB left; it starts again on 15 May.");

  // The year's months are named by their days.
  history.tabs->setCurrentIndex(1);
  EXPECT_EQ(rowTexts(history.months, 1), (QStringList{"15 Feb - 14 Mar", "1", "0:01:00", "£0"}));
  EXPECT_EQ(rowTexts(history.months, 2), (QStringList{"15 Mar - 14 Apr", "2", "0:02:00", "£0"}));
  EXPECT_EQ(rowTexts(history.months, 12).mid(0, 2), (QStringList{"Total 2026", "4"}));
  // A plan without an allowance shows none.
  ASSERT_TRUE(setPlanInUse(QString()).ok());
  history.tabs->setCurrentIndex(0);
  EXPECT_FALSE(history.allowanceText->isVisibleTo(&history));
  // Without one, months from the 1st come back as the day is chosen.
  history.limits->billingDay->setValue(1);
  EXPECT_FALSE(history.periodDays->isVisibleTo(&history));
}

TEST_F(UtcHistoryTest, ABillingDayTypedByHandIsShownOrToldOnceAndMonthsBeginOnThe1st) {
  const struct {
    const char* value;
    int shown;  // 0: ignored, with one message
  } cases[] = {{"15", 15},  {"31", 31}, {"1", 1},   {"40", 0}, {"0", 0},
               {"15th", 0}, {"-1", 0},  {"1.5", 0}, {"015", 0}};
  for (const auto& c : cases) {
    services.notices.clear();
    runtime->unload(QString::fromLatin1(HistoryWindow::kName));
    QSettings(settingsPath(), QSettings::IniFormat).setValue("Billing/day", c.value);
    HistoryWindow& history = openFromMenu();
    QCoreApplication::processEvents();
    EXPECT_EQ(history.limits->billingDay->value(), c.shown == 0 ? 1 : c.shown) << c.value;
    EXPECT_EQ(history.periodDays->isVisibleTo(&history), c.shown > 1) << c.value;
    // Alt+B reaches the day from its label, which stands in the page beside it.
    EXPECT_EQ(history.limits->findChild<QLabel*>("billingDayLabel")->buddy(),
              history.limits->billingDay);
    EXPECT_GE(history.limits->layout()->indexOf(history.limits->billingDay), 0);
    if (c.shown > 0) {
      EXPECT_TRUE(services.notices.isEmpty()) << c.value;
      continue;
    }
    ASSERT_EQ(services.notices.size(), 1) << c.value;
    EXPECT_TRUE(
        services.notices.first().contains(QStringLiteral("billing day day=%1 ").arg(c.value)))
        << services.notices.first().toStdString();
  }
}

TEST_F(UtcHistoryTest, TheAllowanceAndTheMonthlyLimitsWarnOncePerBillingMonth) {
  useAllowancePlan("100");
  ASSERT_TRUE(saveBillingDay(15).ok());
  Limits limits;
  limits.monthData = 200'000'000;
  saveLimits(limits);
  const QDate today = QDate::currentDate();
  const Period month = billingMonthOf({today.year(), today.month(), today.day()}, 15);
  const QDate first(month.first.year, month.first.month, month.first.day);
  // The day before the month is not its; its first day is.
  add(QDateTime(first.addDays(-1), QTime(12, 0)), 60, "0", "£", "Day", 500'000'000);
  add(QDateTime(first, QTime(0, 0, 1)), 60, "0", "£", "Day", 70'000'000);
  setTrafficCounters(0, 0);
  session->clock().startStop();
  setTrafficCounters(9'999'999, 0);
  elapseAfter(5000);
  EXPECT_EQ(status(), "The timer has been touched");
  setTrafficCounters(10'000'000, 0);
  elapseAfter(5000);
  EXPECT_EQ(status(), "80 % of this month's data allowance used");
  const QSettings settings(settingsPath(), QSettings::IniFormat);
  EXPECT_EQ(settings.value("Warnings/allowance").toString(),
            QString::fromStdString(month.key()) + " 80");
  main().setStatus(QStringLiteral("-"));
  setTrafficCounters(90'000'000, 0);
  elapseAfter(5000);
  EXPECT_EQ(status(),
            "80 % of this month's data limit used; "
            "100 % of this month's data allowance used");
  EXPECT_EQ(settings.value("Warnings/monthData").toString(),
            QString::fromStdString(month.key()) + " 80");
  // Another run of the same month says nothing again.
  session->clock().startStop();
  session->clock().startStop();
  main().setStatus(QStringLiteral("-"));
  elapseAfter(5000);
  EXPECT_EQ(status(), "-");
  // Months from the 1st, chosen while the clock runs: the allowance counts
  // the calendar month from the next second.
  ASSERT_EQ(main().clock().allowance()->resets, month.next().first);
  ASSERT_TRUE(saveBillingDay(1).ok());
  elapseAfter(1000);
  EXPECT_EQ(main().clock().allowance()->resets,
            calendarMonthOf({today.year(), today.month(), today.day()}).next().first);
}

// A limit typed into the settings file by hand is shown as it will warn, or
// ignored with one message naming it.
struct HandTyped {
  const char* key;
  const char* value;
  const char* shown;  // the limit's boxes, or nullptr when it is ignored
};

class HandTypedLimitTest : public HistoryFixture, public testing::WithParamInterface<HandTyped> {
 protected:
  const char* zoneName() const override { return "UTC"; }
};

const std::string kFiveMillionDigits(5'000'000, '7');

TEST_P(HandTypedLimitTest, IsShownAsItWarnsOrIgnoredWithOneMessage) {
  const HandTyped& c = GetParam();
  QSettings(settingsPath(), QSettings::IniFormat)
      .setValue(QStringLiteral("Limits/%1").arg(QLatin1String(c.key)), QString::fromUtf8(c.value));
  LimitsGroup& limits = *openFromMenu().limits;
  QCoreApplication::processEvents();
  const QString key = QString::fromLatin1(c.key);
  auto* on = limits.findChild<QCheckBox*>(key + "On");
  ASSERT_NE(on, nullptr);
  QString shown;
  if (key.endsWith("Time")) {
    const QString period = key.left(key.size() - 4);
    shown = limits.findChild<QSpinBox*>(period + "Hours")->text() + " " +
            limits.findChild<QSpinBox*>(period + "Minutes")->text();
  } else {
    shown = limits.findChild<QAbstractSpinBox*>(key)->text();
  }
  EXPECT_EQ(on->isChecked(), c.shown != nullptr);
  if (c.shown != nullptr) {
    EXPECT_EQ(shown, QString::fromUtf8(c.shown));
    EXPECT_TRUE(services.notices.isEmpty()) << services.notices.join('\n').toStdString();
    // A change of another limit keeps this one as typed, even where the page
    // cannot show it exactly.
    (key == "dayCost" ? limits.monthCostOn : limits.dayCostOn)->click();
    EXPECT_EQ(QSettings(settingsPath(), QSettings::IniFormat).value("Limits/" + key).toString(),
              QString::fromUtf8(c.value));
    return;
  }
  ASSERT_EQ(services.notices.size(), 1);
  // A value too long to read is named by its start.
  const QString value = QString::fromUtf8(c.value);
  EXPECT_TRUE(services.notices.first().contains(key + "=" + value.left(40)))
      << services.notices.first().left(200).toStdString();
  EXPECT_LT(services.notices.first().size(), 400);
  // Told once: neither the window opened again nor the running clock tells it again.
  runtime->unload(QString::fromLatin1(HistoryWindow::kName));
  openFromMenu();
  session->clock().startStop();
  elapseAfter(1000);
  QCoreApplication::processEvents();
  EXPECT_EQ(services.notices.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, HandTypedLimitTest,
    // Which spellings are ignored is read in limit_setting_test.cpp; here one
    // of each unit is, and the largest limits are shown whole.
    testing::Values(HandTyped{"monthTime", "12 hours", nullptr},
                    HandTyped{"dayCost", "1,5", nullptr}, HandTyped{"dayTime", "90", "0 h 2 min"},
                    HandTyped{"dayTime", "360000", "100 h 0 min"},
                    HandTyped{"monthTime", "3155760000", "876600 h 0 min"},
                    HandTyped{"monthCost", "1000000000000", "£1000000000000.00"},
                    HandTyped{"dayData", "0.4", "0 MB"},
                    HandTyped{"monthData", "1000000000", "100000000 MB"},
                    HandTyped{"dayTime", kFiveMillionDigits.c_str(), nullptr}),
    [](const testing::TestParamInfo<HandTyped>& info) { return std::to_string(info.index); });

TEST_P(HistoryWindowTest, LimitsWarnOnceAtEachMarkAndNeverStopTheClock) {
  // Just after midnight: 30 s in pounds, and 30 s in francs that count for
  // the time limit but not for the cost limit. Late the evening before: a
  // minute that is not today's.
  const QDateTime early(QDate::currentDate(), QTime(0, 0, 1));
  add(early, 30, "0.5", "£");
  add(early.addSecs(60), 30, "50", "Fr");
  add(early.addSecs(-62), 60, "0", "£");

  HistoryWindow& history = openFromMenu();
  LimitsGroup& limits = *history.limits;
  limits.dayTimeOn->setChecked(true);
  limits.dayMinutes->setValue(2);
  limits.monthCostOn->setChecked(true);
  limits.monthCost->setValue(10);
  // The cost limits follow a currency chosen while the window is open.
  EXPECT_EQ(limits.monthCost->prefix(), "£");
  main().Dollar->trigger();
  EXPECT_EQ(limits.dayCost->prefix(), "$");
  EXPECT_EQ(limits.monthCost->prefix(), "$");
  main().pound->trigger();
  EXPECT_EQ(limits.monthCost->prefix(), "£");
  history.closeButton->click();
  const QSettings settings(settingsPath(), QSettings::IniFormat);
  EXPECT_EQ(settings.value("Limits/dayTime").toString(), "120");
  EXPECT_EQ(settings.value("Limits/monthCost").toString(), "10");
  EXPECT_FALSE(settings.contains("Limits/dayCost"));
  EXPECT_TRUE(QFile::exists(home.path() + "/config/tempodial/tempodial.conf"));

  main().Label4->setCaption(QStringLiteral("£"));
  session->clock().startStop();
  elapseAfter(35000);  // 95 s today
  EXPECT_EQ(status(), "The timer has been touched");
  elapseAfter(1000);  // 96 s: 80 % of 120 s
  EXPECT_EQ(status(), "80 % of today's time limit used");
  main().setStatus(QStringLiteral("-"));
  elapseAfter(23000);
  EXPECT_EQ(status().toStdString(), "-");
  elapseAfter(1000);  // 120 s
  EXPECT_EQ(status(), "100 % of today's time limit used");
  EXPECT_TRUE(session->tick().enabled());
  // 7.5 more in pounds: 8 of 10 with the recorded 0.5; the francs do not count.
  session->clock().setCost(QStringLiteral("7.5"));
  elapseAfter(1000);
  EXPECT_EQ(status(), "80 % of this month's cost limit used");
  EXPECT_EQ(settings.value("Warnings/monthCost").toString(),
            QDate::currentDate().toString("yyyy-MM") + " 80");
  EXPECT_EQ(settings.value("Warnings/dayTime").toString(),
            QDate::currentDate().toString("yyyy-MM-dd") + " 100");

  // A second run of the same day warns of nothing already warned of.
  session->clock().startStop();
  session->clock().startStop();
  main().setStatus(QStringLiteral("-"));
  elapseAfter(5000);
  EXPECT_EQ(status().toStdString(), "-");
  // Raising the cost to 10 in this run reaches the month's cost limit.
  session->clock().setCost(QStringLiteral("17.5"));
  elapseAfter(1000);
  EXPECT_EQ(status(), "100 % of this month's cost limit used");
  EXPECT_TRUE(session->tick().enabled());

  // As on the next day with the same month's use: the day's limit warns
  // afresh, the month's says nothing again.
  session->clock().startStop();
  {
    QSettings given(settingsPath(), QSettings::IniFormat);
    given.setValue("Warnings/dayTime",
                   QDate::currentDate().addDays(-1).toString("yyyy-MM-dd") + " 100");
  }
  main().setStatus(QStringLiteral("-"));
  session->clock().startStop();
  elapseAfter(1000);
  EXPECT_EQ(status(), "100 % of today's time limit used");
  EXPECT_EQ(settings.value("Warnings/monthCost").toString(),
            QDate::currentDate().toString("yyyy-MM") + " 100");
  main().setStatus(QStringLiteral("-"));
  elapseAfter(1000);
  EXPECT_EQ(status().toStdString(), "-");
}

TEST_P(HistoryWindowTest, DataIsShownPerSessionDayMonthAndYearChartedAndLimited) {
  const QDateTime morning(QDate(2026, 5, 2), QTime(9, 0));
  add(morning, 60, "0", "£", "Day", 30'000'000, 2'000'000);
  add(morning.addSecs(600), 60, "0", "£", "Day", 1'500, 500);
  add(morning.addDays(3), 60, "0", "£", "Day", 999'950'000, 0);
  HistoryWindow& history = openFromMenu();
  history.period->setDate(morning.date());
  EXPECT_EQ(rowTexts(history.days, 0, true), (QStringList{"30.0 MB", "2.0 MB", "32.0 MB"}));
  EXPECT_EQ(rowTexts(history.days, 2, true), (QStringList{"1.0 GB", "2.0 MB", "1.0 GB"}));
  history.daysTable->setCurrentIndex(history.days->index(0, 0));
  EXPECT_EQ(rowTexts(history.sessions, 1, true), (QStringList{"1.5 kB", "500 B", "2.0 kB"}));
  history.chartChoice->setCurrentIndex(1);
  EXPECT_EQ(history.chart->days()[1], 32'002'000);
  EXPECT_EQ(history.chart->days()[4], 999'950'000);
  history.tabs->setCurrentIndex(1);
  EXPECT_EQ(rowTexts(history.months, 12, true), (QStringList{"1.0 GB", "2.0 MB", "1.0 GB"}));
  const QAbstractItemView* year = history.monthsTable;
  for (int column = 0; column + 1 < history.months->columnCount(); ++column) {
    EXPECT_GE(history.monthsTable->columnWidth(column), year->sizeHintForColumn(column)) << column;
  }

  // A daily data limit of 40 MB: 30 MB were used today before this run; the
  // run adds what the kernel counts, read with the journal's update.
  add(QDateTime(QDate::currentDate(), QTime(0, 0, 1)), 60, "0", "£", "Day", 20'000'000, 10'000'000);
  history.limits->dayDataOn->setChecked(true);
  history.limits->dayData->setValue(40);
  history.limits->monthDataOn->setChecked(true);
  history.limits->monthData->setValue(50);
  setTrafficCounters(100, 0);
  session->clock().startStop();
  setTrafficCounters(100 + 1'999'999, 0);
  elapseAfter(5000);
  EXPECT_EQ(status(), "The timer has been touched");
  setTrafficCounters(100 + 1'999'999, 1);
  elapseAfter(4000);
  EXPECT_EQ(status(), "The timer has been touched");  // read only with the update
  elapseAfter(1000);
  EXPECT_EQ(status(), "80 % of today's data limit used");
  // The last reading at Stop passes the day's limit and 80 % of the month's
  // 50 MB at once: both are shown after the Stop's own status.
  setTrafficCounters(100 + 10'000'000, 1);
  session->clock().startStop();
  EXPECT_EQ(status(), "The timer has been touched");
  QCoreApplication::processEvents();
  EXPECT_EQ(status(), "100 % of today's data limit used; 80 % of this month's data limit used");
  EXPECT_EQ(main().clock().volume()->total(), 10'000'001);

  // Sessions kept before bytes were counted: a day with only those is blank,
  // and a day, month or year with some shows its known sum as partial.
  const QDateTime june(QDate(2026, 6, 3), QTime(9, 0));
  add(june, 60, "0", "£", "Day", 4'000'000, 1'000'000);
  add(june.addSecs(600), 60, "0", "£", "Day");
  add(june.addDays(1), 60, "0", "£", "Day");
  QSqlQuery forget(runtime->journal().database());
  ASSERT_TRUE(
      forget.exec("UPDATE sessions SET received_bytes = NULL, sent_bytes = NULL"
                  " WHERE id IN (SELECT id FROM sessions ORDER BY id DESC LIMIT 2)"));
  history.tabs->setCurrentIndex(0);
  history.period->setDate(june.date());
  EXPECT_EQ(rowTexts(history.days, 0, true),
            (QStringList{"\u2265 4.0 MB", "\u2265 1.0 MB", "\u2265 5.0 MB"}));
  EXPECT_EQ(rowTexts(history.days, 1, true), (QStringList{"", "", ""}));
  EXPECT_EQ(rowTexts(history.days, 2, true),
            (QStringList{"\u2265 4.0 MB", "\u2265 1.0 MB", "\u2265 5.0 MB"}));
  history.tabs->setCurrentIndex(1);
  EXPECT_EQ(rowTexts(history.months, 4, true), (QStringList{"1.0 GB", "2.0 MB", "1.0 GB"}));
  EXPECT_EQ(rowTexts(history.months, 5, true),
            (QStringList{"\u2265 4.0 MB", "\u2265 1.0 MB", "\u2265 5.0 MB"}));
  EXPECT_EQ(rowTexts(history.months, 12, true).first().left(2), "\u2265 ");
}

// The chart's day numbers never overlap: as many as fit, the first day
// always; its description gives the month's total and its busiest day.
TEST(HistoryChartTest, DayNumbersThinnedToWhatFitsRowsFollowTheFontAndASummary) {
  const struct {
    double slot;
    int labelWidth;
    int step;
    std::vector<int> labelled;  // of days 1 to 11
  } cases[] = {
      {20, 20, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
      {19.9, 20, 2, {1, 3, 5, 7, 9, 11}},
      {10, 20, 2, {1, 3, 5, 7, 9, 11}},
      {5, 20, 5, {1, 5, 10}},
      {4.9, 20, 10, {1, 10}},
      {2, 20, 15, {1}},
      {1.4, 20, 0, {1}},
  };
  for (const auto& c : cases) {
    const int step = HistoryChart::dayLabelStep(c.slot, c.labelWidth);
    std::vector<int> labelled;
    for (int day = 1; day <= 11; ++day) {
      if (HistoryChart::labelsDay(day, step)) labelled.push_back(day);
    }
    EXPECT_EQ(step, c.step) << c.slot << " px a day";
    EXPECT_EQ(labelled, c.labelled) << c.slot << " px a day";
  }
  // A month from a billing day: its numbers run on past the month's end and
  // never crowd the 1st against the 31st.
  const struct {
    int firstDay, firstMonthDays, days, step;
    std::vector<int> labelled;
  } months[] = {
      {15, 31, 31, 5, {15, 20, 25, 30, 5, 10}},
      {15, 31, 20, 2, {15, 17, 19, 21, 23, 25, 27, 29, 31, 3}},
      {15, 31, 31, 10, {15, 30, 10}},
      {15, 31, 31, 0, {15}},
      {31, 31, 5, 1, {31, 1, 2, 3, 4}},
      {28, 28, 31, 5, {28, 5, 10, 15, 20, 25, 30}},
  };
  for (const auto& c : months) {
    HistoryChart chart(nullptr);
    chart.setDays(std::vector<qint64>(static_cast<std::size_t>(c.days)), ChartMeasure::Time,
                  c.firstDay, c.firstMonthDays);
    std::vector<int> labelled;
    for (int bar : HistoryChart::labelledBars(chart.dayNumbers(), c.step)) {
      labelled.push_back(chart.dayNumbers()[static_cast<std::size_t>(bar)]);
    }
    EXPECT_EQ(labelled, c.labelled) << c.firstDay << " every " << c.step;
  }
  // The tables' rows follow their font from the start and as it changes.
  QTableView table;
  followFont(&table);
  for (int points : {0, 24}) {
    if (points > 0) table.setFont(QFont(QStringLiteral("DejaVu Sans"), points));
    EXPECT_EQ(table.verticalHeader()->defaultSectionSize(), table.fontMetrics().height() + 6);
  }
  HistoryChart chart(nullptr);
  chart.setDays({0, 3600, 0, 5400, 60});
  EXPECT_EQ(chart.accessibleDescription(),
            "2:31:00 in all, 3 of 5 days with sessions; the busiest, day 4: 1:30:00");
  chart.setDays({0, 0}, ChartMeasure::Data);
  EXPECT_EQ(chart.accessibleName(), "Data per day");
  EXPECT_EQ(chart.accessibleDescription(), "0 B in all, 0 of 2 days with data");
}

}  // namespace
}  // namespace tempodial

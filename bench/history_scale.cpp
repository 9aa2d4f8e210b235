// The usage history at scale: fills a journal with N generated sessions
// (default 100,000; 10,000 this month, the rest over the four years before),
// then times (medians of R runs) opening the journal as start-up does,
// opening the History window on this month with its totals, moving a month
// back and to the year view, the memory that takes, and the CSV export of
// the whole history.  Usage: history_scale [sessions] [runs] [copy-of-journal]
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVariant>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/journal/history_store.h"
#include "platform/journal/session_journal.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/scripted_services.h"
#include "platform/session/clock_session.h"
#include "windows/history/history_window.h"
#include "windows/main/forms.h"
#include "windows/main/main_window.h"

namespace {

// Resident memory of this process in KiB.
long residentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return 0;
}

double ms(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e6; }

// Sessions shaped as a heavy user's: the first 10,000 (or all, when fewer) in
// this month up to now, the rest spread evenly over the four years before it,
// 5 to 95 minutes long, one in eight in francs. Made by one SQL statement, so
// that a million rows take seconds; the journal's triggers keep the day totals.
void generate(tempodial::SessionJournal& journal, int count) {
  QSqlDatabase db = journal.database();
  db.transaction();
  QSqlQuery insert(db);
  const QDate today = QDate::currentDate();
  const qint64 now = QDateTime::currentSecsSinceEpoch();
  const qint64 monthStart =
      QDateTime(QDate(today.year(), today.month(), 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
  const qint64 recent = std::min(count, 10000);
  const qint64 older = count - recent;
  const qint64 span = 4 * 365 * 86400;
  insert.prepare(
      QStringLiteral(
          "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < %1),"
          " s(i, start, secs) AS (SELECT i, CASE WHEN i < %2 THEN %3 + i * (%4 - %3) / %2"
          " ELSE %3 - (i - %2 + 1) * %5 / MAX(%6, 1) END, 300 + (i * 7919) % 5400 FROM n)"
          " INSERT INTO sessions (start_utc, utc_offset, end_utc, seconds, cost_start, cost_end,"
          " tariff, rate, currency, hours, minutes, secs, end_kind, cost)"
          " SELECT start - 3600, 3600, start - 3600 + secs, secs, '0',"
          " printf('%.3f', secs / 60 * 0.014), 'Weekday', 1.4,"
          " CASE WHEN i % 8 = 0 THEN 'Fr' ELSE '£' END, '0', '0', '0', 'stopped',"
          " tempodial_cost('0', printf('%.3f', secs / 60 * 0.014)) FROM s")
          .arg(count)
          .arg(recent)
          .arg(monthStart)
          .arg(std::max(now, monthStart + 1))
          .arg(span)
          .arg(older));
  if (!insert.exec()) std::printf("generation failed\n");
  db.commit();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
  QApplication app(argc, argv);
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const QString keep = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();

  using namespace tempodial;
  ScriptedServices services;
  Runtime runtime(services, Places(home.path() + "/tempodial"));
  ClockSession session(runtime);
  registerForms(runtime, session);
  QDir().mkpath(runtime.places().root());
  if (!runtime.journal().open().ok()) return 1;
  QElapsedTimer timer;
  timer.start();
  generate(runtime.journal(), count);
  std::printf("generated %d sessions in %.0f ms, journal %.1f MiB\n", count, ms(timer),
              QFile(runtime.journal().path()).size() / 1048576.0);
  if (!keep.isEmpty()) {
    QSqlQuery(runtime.journal().database()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    QFile::remove(keep);
    if (!QFile::copy(runtime.journal().path(), keep)) std::printf("cannot copy to %s\n", argv[3]);
  }
  // Start-up opens the journal and reads the one row the restore offer needs.
  std::vector<double> opens;
  for (int run = 0; run < runs; ++run) {
    runtime.journal().close();
    timer.restart();
    if (!runtime.journal().open().ok()) return 1;
    (void)runtime.journal().unansweredInterruption();
    opens.push_back(ms(timer));
  }
  // The main window is there before the History window is opened.
  runtime.form<MainWindow>().show();
  QApplication::processEvents();

  const long before = residentKiB();
  std::vector<double> open, previous, year;
  int days = 0, months = 0;
  for (int run = 0; run < runs; ++run) {
    timer.restart();
    auto& history = runtime.form<HistoryWindow>();
    history.show();
    QApplication::processEvents();
    open.push_back(ms(timer));
    days = history.days->rowCount() - 1;
    timer.restart();
    history.step(-1);
    QApplication::processEvents();
    previous.push_back(ms(timer));
    timer.restart();
    history.tabs->setCurrentIndex(1);
    QApplication::processEvents();
    year.push_back(ms(timer));
    months = history.months->rowCount() - 1;
    runtime.unload(QString::fromLatin1(HistoryWindow::kName));
    QApplication::processEvents();
  }
  std::printf(
      "medians of %d runs: journal open %.1f ms; History open on this month %.1f ms"
      " (%d days); previous month %.1f ms; year view %.1f ms (%d months)\n",
      runs, median(opens), median(open), days, median(previous), median(year), months);
  std::printf("memory growth: %.2f MiB\n", (residentKiB() - before) / 1024.0);

  const HistoryStore store(runtime.journal().database());
  QFile out(home.path() + "/all.csv");
  out.open(QIODevice::WriteOnly);
  qint64 rows = 0;
  timer.restart();
  const Status status = store.exportCsv(
      std::nullopt, std::nullopt,
      [&out](std::string_view bytes) {
        return out.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
      },
      &rows);
  out.close();
  const double exported = ms(timer);
  std::printf("export: %lld rows in %.0f ms, %.0f rows/s, %.1f MiB (%s)\n",
              static_cast<long long>(rows), exported, rows / (exported / 1000),
              out.size() / 1048576.0, status.ok() ? "ok" : status.reason().c_str());
  runtime.unload(QString::fromLatin1(HistoryWindow::kName));
  return status.ok() ? 0 : 1;
}

// The usage history at scale: fills a journal with N generated sessions
// (default 100,000, about 25 years of heavy use, ending today), then times
// opening the History window on this month with its totals, moving to
// another month and to the year view, the memory that takes, and the CSV
// export of the whole history.  Usage: history_scale [sessions]
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
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/journal/history_store.h"
#include "platform/journal/session_journal.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/scripted_services.h"
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

// Sessions every 7,890 s on average (eleven a day), 5 to 95 minutes long,
// one in eight in francs, ending now.
void generate(tempodial::SessionJournal& journal, int count) {
  QSqlDatabase db = journal.database();
  db.transaction();
  QSqlQuery insert(db);
  insert.prepare(
      "INSERT INTO sessions (start_utc, utc_offset, end_utc, seconds, cost_start, cost_end,"
      " tariff, rate, currency, hours, minutes, secs, end_kind)"
      " VALUES (?, 3600, ?, ?, ?, ?, 'Weekday', 1.4, ?, '0', '0', '0', 'stopped')");
  const qint64 now = QDateTime::currentSecsSinceEpoch();
  std::srand(20261207);
  for (int i = 0; i < count; ++i) {
    const qint64 start = now - static_cast<qint64>(count - i) * 7890 + std::rand() % 600;
    const qint64 seconds = 300 + std::rand() % 5400;
    insert.addBindValue(start);
    insert.addBindValue(start + seconds);
    insert.addBindValue(seconds);
    insert.addBindValue(QStringLiteral("0"));
    insert.addBindValue(QString::number(seconds / 60 * 1.4 / 100, 'f', 3));
    insert.addBindValue(i % 8 == 0 ? QStringLiteral("Fr") : QStringLiteral("£"));
    insert.exec();
  }
  db.commit();
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
  QApplication app(argc, argv);
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;

  using namespace tempodial;
  ScriptedServices services;
  Runtime runtime(services, Places(home.path() + "/tempodial"));
  registerForms(runtime);
  QDir().mkpath(runtime.places().root());
  if (!runtime.journal().open().ok()) return 1;
  QElapsedTimer timer;
  timer.start();
  generate(runtime.journal(), count);
  std::printf("generated %d sessions in %.0f ms, journal %.1f MiB\n", count, ms(timer),
              QFile(runtime.journal().path()).size() / 1048576.0);
  // The main window is there before the History window is opened.
  runtime.form<MainWindow>().show();
  QApplication::processEvents();

  const long before = residentKiB();
  timer.restart();
  auto& history = runtime.form<HistoryWindow>();
  history.show();
  const double open = ms(timer);
  QApplication::processEvents();
  const double painted = ms(timer);
  std::printf("open on this month with totals: %.1f ms (%d days), first paint after %.1f ms\n",
              open, history.days->rowCount() - 1, painted);
  timer.restart();
  history.period->setDate(QDate::currentDate().addYears(-12));
  std::printf("another month with totals: %.1f ms (%d days)\n", ms(timer),
              history.days->rowCount() - 1);
  timer.restart();
  history.tabs->setCurrentIndex(1);
  std::printf("year view: %.1f ms (%d months)\n", ms(timer), history.months->rowCount() - 1);
  QApplication::processEvents();
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

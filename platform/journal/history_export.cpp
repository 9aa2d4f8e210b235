#include "platform/journal/history_export.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/files/export_target.h"
#include "platform/files/places.h"
#include "platform/journal/history_store.h"
#include "platform/journal/session_journal.h"

namespace tempodial {
namespace {

int fail(const QString& text) {
  std::fprintf(stderr, "tempodial: %s\n", qPrintable(text));
  return 1;
}

// Completes the CSV at its target; the status of the export.
int finished(const ExportRequest& request, ExportOutput& output) {
  const Status status = output.finish();
  if (status.ok()) return 0;
  return fail(QStringLiteral("cannot write %1: %2")
                  .arg(request.file, QString::fromStdString(status.reason())));
}

int run(const ExportRequest& request, const Places& places, const QString& connection) {
  const QString journalPath = places.root() + QStringLiteral("/history.sqlite3");
  auto opened = ExportOutput::open(request.file, programFiles(places, journalPath),
                                   ExportOutput::Reader::Wait);
  if (!opened.ok()) {
    return fail(QStringLiteral("cannot write %1: %2")
                    .arg(request.file, QString::fromStdString(opened.reason())));
  }
  ExportOutput& output = *opened.value();
  if (!QFileInfo(journalPath).isFile()) {
    // Nothing is created: an empty history is the header line alone.
    std::fprintf(stderr,
                 "tempodial: there is no session journal at %s yet; no sessions to export\n",
                 qPrintable(journalPath));
    output.write(
        "start,end,seconds,time,tariff,rate,currency,cost,ended,received_bytes,sent_bytes\r\n");
    return finished(request, output);
  }
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
  db.setDatabaseName(journalPath);
  // Read-only: a running copy of the program goes on writing meanwhile.
  db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
  auto cannotRead = [&](const QString& reason) {
    output.cancel();
    return fail(QStringLiteral("cannot read the session journal %1: %2").arg(journalPath, reason));
  };
  if (!db.open()) return cannotRead(db.lastError().text());
  {
    QSqlQuery version(db);
    if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next()) {
      return cannotRead(version.lastError().databaseText());
    }
    if (version.value(0).toInt() > SessionJournal::kSchemaVersion) {
      return cannotRead(QStringLiteral("it was written by a newer version of Tempodial"));
    }
  }
  HistoryStore store(db);
  qint64 rows = 0;
  const Status status = store.exportCsv(
      request.from, request.to, [&output](std::string_view bytes) { return output.write(bytes); },
      &rows);
  // A write that failed is the target's fault, not the journal's.
  if (!status.ok() && output.error().empty()) {
    return cannotRead(QString::fromStdString(status.reason()));
  }
  if (const int failed = finished(request, output); failed != 0) return failed;
  if (request.file != QLatin1String("-")) {
    std::fprintf(stderr, "tempodial: %lld sessions written to %s\n", static_cast<long long>(rows),
                 qPrintable(request.file));
  }
  return 0;
}

}  // namespace

int exportHistory(const ExportRequest& request) {
  // Qt SQL loads its driver as a plug-in, which wants an application object.
  static int argc = 1;
  static char name[] = "tempodial";
  static char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  const QString connection = QStringLiteral("tempodial-export");
  int status = 0;
  { status = run(request, Places::fromEnvironment(), connection); }
  QSqlDatabase::removeDatabase(connection);
  return status;
}

}  // namespace tempodial

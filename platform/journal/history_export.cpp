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

struct Request {
  QString file;
  std::optional<CivilDate> from, to;
};

int fail(const QString& text) {
  std::fprintf(stderr, "tempodial: %s\n", qPrintable(text));
  return 1;
}

std::optional<CivilDate> parseDate(const char* text) {
  int year = 0, month = 0, day = 0;
  char rest = 0;
  if (std::strlen(text) != 10 ||
      std::sscanf(text, "%4d-%2d-%2d%c", &year, &month, &day, &rest) != 3) {
    return std::nullopt;
  }
  const CivilDate date{year, month, day};
  // A day that does not exist (2026-02-30) comes back as another date.
  if (month < 1 || month > 12 || day < 1 || localDate(daysFromCivil(date), 0) != date) {
    return std::nullopt;
  }
  return date;
}

// Reads the arguments after the program name; returns an error text or an
// empty text.
QString parse(int argc, char* argv[], Request& request) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const bool takesValue = std::strcmp(arg, "--export-history") == 0 ||
                            std::strcmp(arg, "--from") == 0 || std::strcmp(arg, "--to") == 0;
    if (!takesValue) return QStringLiteral("unknown option %1").arg(QString::fromLocal8Bit(arg));
    if (i + 1 >= argc) return QStringLiteral("%1 needs a value").arg(QString::fromLatin1(arg));
    const char* value = argv[++i];
    if (std::strcmp(arg, "--export-history") == 0) {
      request.file = QString::fromLocal8Bit(value);
      continue;
    }
    const auto date = parseDate(value);
    if (!date) {
      return QStringLiteral("%1 wants a date as YYYY-MM-DD, not \"%2\"")
          .arg(QString::fromLatin1(arg), QString::fromLocal8Bit(value));
    }
    (std::strcmp(arg, "--from") == 0 ? request.from : request.to) = date;
  }
  if (request.file.isEmpty()) return QStringLiteral("--export-history needs a file name or -");
  if (request.from && request.to && daysFromCivil(*request.from) > daysFromCivil(*request.to)) {
    return QStringLiteral("--from comes after --to");
  }
  return {};
}

// Completes the CSV at its target; the status of the export.
int finished(const Request& request, ExportOutput& output) {
  const Status status = output.finish();
  if (status.ok()) return 0;
  return fail(QStringLiteral("cannot write %1: %2")
                  .arg(request.file, QString::fromStdString(status.reason())));
}

int run(const Request& request, const Places& places, const QString& connection) {
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
    output.write("start,end,seconds,time,tariff,rate,currency,cost,ended\r\n");
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

bool asksForHistoryExport(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--export-history") == 0) return true;
  }
  return false;
}

int exportHistory(int argc, char* argv[]) {
  Request request;
  if (QString error = parse(argc, argv, request); !error.isEmpty()) return fail(error);
  // Qt SQL loads its driver as a plug-in, which wants an application object.
  int noArgs = 1;
  QCoreApplication app(noArgs, argv);
  const QString connection = QStringLiteral("tempodial-export");
  int status = 0;
  { status = run(request, Places::fromEnvironment(), connection); }
  QSqlDatabase::removeDatabase(connection);
  return status;
}

}  // namespace tempodial

#include "platform/journal/history_export.h"

#include <QSqlDatabase>
#include <cstdio>

#include "core/history/csv_text.h"
#include "platform/files/export_target.h"
#include "platform/files/places.h"
#include "platform/journal/history_store.h"
#include "platform/journal/journal_reading.h"

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

int run(const ExportRequest& request, const Places& places) {
  const QString path = journalPath(places.root());
  auto opened =
      ExportOutput::open(request.file, programFiles(places, path), ExportOutput::Reader::Wait);
  if (!opened.ok()) {
    return fail(QStringLiteral("cannot write %1: %2")
                    .arg(request.file, QString::fromStdString(opened.reason())));
  }
  ExportOutput& output = *opened.value();
  qint64 rows = 0;
  Status exported = Status::Ok();
  const Status read = readJournal(path, [&](const QSqlDatabase& db) {
    exported = HistoryStore(db).exportCsv(
        request.from, request.to, [&output](std::string_view bytes) { return output.write(bytes); },
        &rows);
    // A write that failed is the target's fault, not the journal's.
    return exported.ok() || !output.error().empty() ? Status::Ok() : exported;
  });
  if (read.kind() == StatusKind::NotFound) {
    // Nothing is created: an empty history is the header line alone.
    std::fprintf(stderr,
                 "tempodial: there is no session journal at %s yet; no sessions to export\n",
                 qPrintable(path));
    output.write(kHistoryCsvHeader);
    return finished(request, output);
  }
  if (!read.ok()) {
    output.cancel();
    return fail(QStringLiteral("cannot read the session journal %1: %2")
                    .arg(path, QString::fromStdString(read.reason())));
  }
  if (const int failed = finished(request, output); failed != 0) return failed;
  if (request.file != QLatin1String("-")) {
    std::fprintf(stderr, "tempodial: %lld sessions written to %s\n", static_cast<long long>(rows),
                 qPrintable(request.file));
  }
  return 0;
}

}  // namespace

int exportHistory(const ExportRequest& request) { return run(request, Places::fromEnvironment()); }

}  // namespace tempodial

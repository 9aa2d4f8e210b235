#include "windows/history/csv_export.h"

#include <QLabel>
#include <QPushButton>

#include "platform/files/export_target.h"
#include "platform/files/places.h"
#include "platform/files/stream_writer.h"
#include "platform/journal/history_store.h"
#include "platform/journal/session_journal.h"
#include "platform/runtime/runtime.h"

namespace tempodial {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

CsvExport::CsvExport(Runtime& runtime, QWidget* window, QLabel* note, QPushButton* start,
                     QPushButton* cancel)
    : QObject(window),
      runtime_(runtime),
      window_(window),
      note_(note),
      start_(start),
      cancel_(cancel) {
  connect(cancel_, &QPushButton::clicked, this, [this] {
    if (writer_) writer_->cancel();
  });
}

void CsvExport::write(const HistoryStore& store, const Period& shown, const QString& path) {
  qint64 count = 0;
  const QString journalPath = runtime_.journal().path();
  auto opened = ExportOutput::open(path, programFiles(runtime_.places(), journalPath),
                                   ExportOutput::Reader::Required);
  Status status = opened.status();
  if (status.ok() && opened.value()->isStream()) {
    // Read whole first: the reader takes it at its own pace.
    std::string text;
    status = store.exportCsv(
        shown.first, shown.last,
        [&text](std::string_view bytes) {
          text.append(bytes);
          return true;
        },
        &count);
    if (status.ok()) {
      stream(std::move(opened.value()), path, text, count);
      return;
    }
  } else if (status.ok()) {
    ExportOutput& output = *opened.value();
    status = store.exportCsv(
        shown.first, shown.last, [&output](std::string_view bytes) { return output.write(bytes); },
        &count);
    // A journal that cannot be read leaves the target as it was; a write that
    // failed is told by the target's own reason.
    if (status.ok() || !output.error().empty()) {
      status = output.finish();
    } else {
      output.cancel();
    }
  }
  if (!status.ok()) {
    runtime_.message(QStringLiteral("The history could not be written to %1: %2")
                         .arg(path, qt(status.reason())));
    return;
  }
  note_->setText(QStringLiteral("%1 sessions written to %2").arg(count).arg(path));
}

void CsvExport::stream(std::unique_ptr<ExportOutput> output, const QString& path,
                       const std::string& text, qint64 count) {
  writer_ = new StreamWriter(std::move(output), QByteArray::fromStdString(text), 2000, window_);
  start_->hide();
  cancel_->show();
  note_->setText(QStringLiteral("Writing %1 sessions to %2...").arg(count).arg(path));
  connect(writer_, &StreamWriter::stallChanged, this, [this, path, count](bool stalled) {
    note_->setText(stalled ? QStringLiteral("The program reading %1 takes nothing: the export "
                                            "waits for it (Cancel export gives up).")
                                 .arg(path)
                           : QStringLiteral("Writing %1 sessions to %2...").arg(count).arg(path));
  });
  connect(writer_, &StreamWriter::finished, this, [this, path, count](const QString& error) {
    const bool focused = cancel_->hasFocus();
    cancel_->hide();
    start_->show();
    if (focused) start_->setFocus();
    const bool cancelled = writer_->cancelled();
    writer_->deleteLater();
    writer_ = nullptr;
    if (cancelled) {
      note_->setText(QStringLiteral("The export to %1 was cancelled.").arg(path));
    } else if (!error.isEmpty()) {
      note_->clear();
      runtime_.message(
          QStringLiteral("The history could not be written to %1: %2").arg(path, error));
    } else {
      note_->setText(QStringLiteral("%1 sessions written to %2").arg(count).arg(path));
    }
  });
  writer_->start();
}

}  // namespace tempodial

// The History window's CSV export of the shown month or year: into a file
// at once, or into a FIFO or a device as its reader takes it, the window
// going on meanwhile (with "Cancel export" in place of "Export CSV..." and
// the waiting told in the note).
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>

#include "core/history/period.h"

class QLabel;
class QPushButton;
class QWidget;

namespace tempodial {

class ExportOutput;
class HistoryStore;
class Runtime;
class StreamWriter;

class CsvExport : public QObject {
  Q_OBJECT
 public:
  // Tells its progress in `note`, and shows `cancel` in place of `start`
  // while a reader is being waited for.
  CsvExport(Runtime& runtime, QWidget* window, QLabel* note, QPushButton* start,
            QPushButton* cancel);

  // Whether an export still waits for its reader: one at a time.
  bool busy() const { return !writer_.isNull(); }
  // Writes the sessions that started in `shown` from `store` to `path`.
  void write(const HistoryStore& store, const Period& shown, const QString& path);

 private:
  // Hands `text` to a writer that gives it to the stream's reader as it reads.
  void stream(std::unique_ptr<ExportOutput> output, const QString& path, const std::string& text,
              qint64 count);

  Runtime& runtime_;
  QWidget* window_;
  QLabel* note_;
  QPushButton* start_;
  QPushButton* cancel_;
  QPointer<StreamWriter> writer_;
};

}  // namespace tempodial

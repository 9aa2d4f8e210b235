// Writing an export into a stream (a FIFO, a device) as its reader takes it,
// without ever waiting on the window's thread: the clock, the journal and
// the windows go on while a reader is slow, and the window can tell when
// the reader takes nothing and give up.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

namespace tempodial {

class ExportOutput;
class FormTimer;
}  // namespace tempodial

class QSocketNotifier;

namespace tempodial {

class StreamWriter : public QObject {
  Q_OBJECT
 public:
  // Writes `bytes` into `output`, a stream opened with
  // ExportOutput::Reader::Required, each time it can take some; checks every
  // `checkMs` whether the reader took anything since the last check.
  StreamWriter(std::unique_ptr<ExportOutput> output, QByteArray bytes, int checkMs,
               QObject* parent);
  ~StreamWriter() override;

  // Begins writing; what is said from here on comes through the signals.
  void start();

  // Gives up: the stream is closed with what it has taken.
  void cancel();
  qint64 written() const { return written_; }
  bool stalled() const { return stalled_; }
  bool cancelled() const { return cancelled_; }

  // The stall check the timer runs.
  void check();

 Q_SIGNALS:
  // The reader took nothing since the last check (true), or takes again.
  void stallChanged(bool stalled);
  // Everything was written and the stream closed (an empty error), the
  // export was cancelled (an empty error too), or it ended with `error`.
  void finished(const QString& error);

 private:
  void pump();
  void end(const QString& error);

  std::unique_ptr<ExportOutput> output_;
  QByteArray bytes_;
  qint64 written_ = 0;
  qint64 writtenAtCheck_ = 0;
  bool stalled_ = false;
  bool done_ = false;
  bool cancelled_ = false;
  QSocketNotifier* ready_ = nullptr;
  FormTimer* timer_ = nullptr;
};

}  // namespace tempodial

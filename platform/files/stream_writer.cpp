#include "platform/files/stream_writer.h"

#include <QSocketNotifier>
#include <string_view>

#include "platform/files/export_target.h"
#include "platform/forms/form_timer.h"

namespace tempodial {

StreamWriter::StreamWriter(std::unique_ptr<ExportOutput> output, QByteArray bytes, int checkMs,
                           QObject* parent)
    : QObject(parent), output_(std::move(output)), bytes_(std::move(bytes)) {
  ready_ = new QSocketNotifier(output_->streamHandle(), QSocketNotifier::Write, this);
  ready_->setEnabled(false);
  connect(ready_, &QSocketNotifier::activated, this, &StreamWriter::pump);
  timer_ = new FormTimer(this, QStringLiteral("readerCheck"), checkMs, false);
  timer_->onTick = [this] { check(); };
}

void StreamWriter::start() {
  ready_->setEnabled(true);
  timer_->setEnabled(true);
  pump();
}

StreamWriter::~StreamWriter() = default;

void StreamWriter::pump() {
  if (done_) return;
  const std::string_view rest(bytes_.constData() + written_,
                              static_cast<std::size_t>(bytes_.size() - written_));
  const qint64 done = output_->writeSome(rest);
  if (done < 0) {
    end(QString::fromStdString(output_->error()));
    return;
  }
  written_ += done;
  if (written_ == bytes_.size()) {
    const Status closed = output_->finish();
    end(closed.ok() ? QString() : QString::fromStdString(closed.reason()));
    return;
  }
  if (done > 0 && stalled_) {
    stalled_ = false;
    Q_EMIT stallChanged(false);
  }
}

void StreamWriter::check() {
  if (done_) return;
  const bool still = written_ == writtenAtCheck_;
  writtenAtCheck_ = written_;
  if (still != stalled_) {
    stalled_ = still;
    Q_EMIT stallChanged(still);
  }
}

void StreamWriter::cancel() {
  if (done_) return;
  cancelled_ = true;
  static_cast<void>(output_->finish());
  end(QString());
}

void StreamWriter::end(const QString& error) {
  done_ = true;
  ready_->setEnabled(false);
  timer_->setEnabled(false);
  output_.reset();
  Q_EMIT finished(error);
}

}  // namespace tempodial

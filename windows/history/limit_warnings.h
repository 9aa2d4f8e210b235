// The limits while the clock runs: what today's and this month's recorded
// sessions used is read once when the clock starts, the running session is
// added at each counted second, and each limit warns at 80 % and 100 % once
// per period. Nothing here runs unless the clock does.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <string>

#include "core/history/history.h"
#include "core/history/limits.h"

namespace tempodial {

class Runtime;

class LimitWarnings {
 public:
  // The clock started a run, recorded in the journal as `row` (0: not
  // recorded), with `cost` in the cost box.
  void started(qint64 row, const QDateTime& start, const QString& cost);
  // The run has counted `seconds` and `bytes` and the cost box shows `cost`
  // in `currency`: the warnings now due, as the status panel shows them.
  QStringList counted(Runtime& runtime, qint64 seconds, qint64 bytes, const QString& cost,
                      const QString& currency);

 private:
  // What the recorded sessions used in the run's day and month.
  void readRecorded(Runtime& runtime, const QString& currency);

  int generation_ = -1;
  Limits limits_;
  LimitWatch watch_;
  CivilDate day_;
  qint64 row_ = 0;
  std::string costStart_;
  Usage recorded_;
  QString recordedCurrency_;
  bool haveRecorded_ = false;
};

}  // namespace tempodial

// The limits and the plan's data allowance while the clock runs: what
// today's and this billing month's recorded sessions used is read once when
// the clock starts (and again when the billing day changes), the running
// session is added at each counted second, and each limit and the allowance
// warn at 80 % and 100 % once per period. Nothing here runs unless the clock
// does.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "core/history/history.h"
#include "core/history/limits.h"

namespace tempodial {

class ClockModel;
class Runtime;

// Tells the user, once per run of the program and after the running handler,
// of each limit in the settings file that is ignored, naming it and its
// value, and of a billing day that is no day from 1 to 31.
void reportIgnoredLimits(Runtime& runtime);

// A warning as the status panel and the desktop show it.
struct LimitNotice {
  // The limit and its period ("dayTime 2026-12-07", "allowance 2026-12-15"):
  // the 100 % notice of a limit takes the place of its 80 % notice.
  QString key;
  QString summary;  // "80 % of today's time limit used"
  QString body;     // "Used 0:48:00 of 1:00:00", "Used £4 of £5", "Used 16 GB of 20 GB"
};

class LimitWarnings {
 public:
  // Tells `clock` of the allowance left as the recorded sessions are read.
  explicit LimitWarnings(ClockModel& clock) : clock_(clock) {}

  // The clock started a run, recorded in the journal as `row` (0: not
  // recorded), with `cost` in the cost box.
  void started(qint64 row, const QDateTime& start, const QString& cost);
  // The run has counted `seconds` and `bytes` and the cost box shows `cost`
  // in `currency`: the warnings now due.
  QList<LimitNotice> counted(Runtime& runtime, qint64 seconds, qint64 bytes, const QString& cost,
                             const QString& currency);

 private:
  // What the recorded sessions used in the run's day and billing month; the
  // clock is told of the allowance with it.
  void readRecorded(Runtime& runtime, const QString& currency);
  // The allowance's warning now due for `used` bytes of the billing month.
  std::optional<LimitNotice> allowanceNotice(std::int64_t used);

  ClockModel& clock_;
  int generation_ = -1;
  Limits limits_;
  LimitWatch watch_;
  int billingDay_ = 1;
  std::optional<std::int64_t> allowance_;  // of the plan the run started under
  LimitWatch allowanceWatch_;              // its warnings as a monthly data limit's
  CivilDate day_;
  qint64 row_ = 0;
  std::string costStart_;
  Usage recorded_;
  QString recordedCurrency_;
  bool haveRecorded_ = false;
};

}  // namespace tempodial

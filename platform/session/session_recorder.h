// Keeps the session journal in step with the clock model: a row when
// the clock starts, brought up to date inside the clock's own tick, closed
// when it stops, when the program ends, or when the program is told to end
// by the system. The run's data volume is read from the kernel's counters at
// the start, with each update of the row and at the end: never more often.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QtGlobal>
#include <optional>

#include "core/history/session.h"
#include "core/volume/data_volume.h"
#include "platform/desktop/desktop_notifier.h"
#include "platform/desktop/volume_meter.h"
#include "platform/session/limit_warnings.h"

namespace tempodial {

class ClockModel;
class Runtime;
struct SessionSnapshot;

class SessionRecorder : public QObject {
  Q_OBJECT

 public:
  // The row is brought up to date every this many counted seconds, and
  // flushed to the disk every this many updates.
  static constexpr int kUpdateSeconds = 5;
  static constexpr int kUpdatesPerFlush = 6;

  // Follows the runs of `clock`: runStarted, counted and runStopped.
  SessionRecorder(Runtime& runtime, ClockModel& clock, QObject* parent);

  void clockStarted();
  // After the clock has counted `seconds` more seconds of this run.
  void counted(int seconds);
  void clockStopped() { close(SessionEnd::Stopped); }
  // The program ends through its own exit.
  void programEnds() { close(SessionEnd::Exit); }
  // The system ends the program (a signal, the end of the desktop session).
  void interrupted() { close(SessionEnd::Interrupted); }

  bool recording() const { return row_ != 0; }
  // Where the kernel's counters are read: "/" but in tests.
  void setCountersRoot(const QString& root) { volume_.setCountersRoot(root); }

 private:
  SessionSnapshot snapshot() const;
  // Reads the counters and has a plan that charges by the MB charge them.
  void readVolume();
  // A link hung up or was reset between readings: its charge and the limits
  // at once.
  void volumeChanged();
  void close(SessionEnd end);
  // Tells the user once that the journal cannot be written; the next start
  // of the clock tries again.
  void report(const QString& reason);
  // Warns of the limits the run has reached; in the status panel after the
  // running handler when `afterHandler`.
  void checkLimits(bool afterHandler = false);
  // The journal file was deleted under the running run: a new journal is
  // made and the run kept in it. False when that cannot be done.
  bool renewJournal();

  Runtime& runtime_;
  ClockModel& clock_;
  VolumeMeter volume_;
  bool running_ = false;
  qint64 row_ = 0;
  QDateTime start_;    // when the run started
  QString startCost_;  // the cost box then
  qint64 counted_ = 0;
  qint64 written_ = 0;
  int updates_ = 0;
  bool reported_ = false;
  LimitWarnings limits_;
  DesktopNotifier notifier_;
};

}  // namespace tempodial

// Keeps the session journal in step with the main window's clock: a row when
// the clock starts, brought up to date inside the clock's own tick, closed
// when it stops, when the program ends, or when the program is told to end
// by the system.
#pragma once

#include <QString>
#include <QtGlobal>

#include "core/history/session.h"
#include "platform/desktop/desktop_notifier.h"
#include "windows/history/limit_warnings.h"

namespace tempodial {

class MainWindow;
struct SessionSnapshot;

class SessionRecorder {
 public:
  // The row is brought up to date every this many counted seconds, and
  // flushed to the disk every this many updates.
  static constexpr int kUpdateSeconds = 5;
  static constexpr int kUpdatesPerFlush = 6;

  explicit SessionRecorder(MainWindow& main) : main_(main) {}

  void clockStarted();
  // After the clock has counted `seconds` more seconds of this run.
  void counted(int seconds);
  void clockStopped() { close(SessionEnd::Stopped); }
  // The program ends through its own exit.
  void programEnds() { close(SessionEnd::Exit); }
  // The system ends the program (a signal, the end of the desktop session).
  void interrupted() { close(SessionEnd::Interrupted); }

  bool recording() const { return row_ != 0; }

 private:
  SessionSnapshot snapshot() const;
  void close(SessionEnd end);
  // Tells the user once that the journal cannot be written; the next start
  // of the clock tries again.
  void report(const QString& reason);
  // Warns of the limits the run has reached.
  void checkLimits();

  MainWindow& main_;
  qint64 row_ = 0;
  qint64 counted_ = 0;
  qint64 written_ = 0;
  int updates_ = 0;
  bool reported_ = false;
  LimitWarnings limits_;
  DesktopNotifier notifier_;
};

}  // namespace tempodial

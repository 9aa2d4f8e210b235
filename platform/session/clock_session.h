// The clock session: the clock model with everything that keeps it going
// without a window. It owns the model, the clock's one-second tick (the
// timer the main window's design calls `Timer1`, running exactly while the
// clock runs) and the journal's recorder, with the data volume, the limits
// and the plan meter they hold. app/ makes one and hands it to every window
// and service that shows or drives the clock; none of them looks it up.
#pragma once

#include <QObject>
#include <memory>
#include <utility>

namespace tempodial {

class ClockModel;
class FormTimer;
class Runtime;
class SessionRecorder;

class ClockSession : public QObject {
  Q_OBJECT

 public:
  // Counts by the runtime's monotonic clock and keeps the runtime's journal.
  // When the program ends through the runtime, the running row is closed.
  // The runtime outlives the windows it holds; the session may go first.
  explicit ClockSession(Runtime& runtime);
  ~ClockSession() override;
  ClockSession(const ClockSession&) = delete;
  ClockSession& operator=(const ClockSession&) = delete;

  ClockModel& clock() { return *clock_; }
  const ClockModel& clock() const { return *clock_; }
  // The clock's tick: enabled exactly while the clock runs; each elapse adds
  // the whole seconds of real time not yet on the clock.
  FormTimer& tick() { return *tick_; }
  SessionRecorder& recorder() { return *recorder_; }

  // The session's start-up steps (the rates, currency and plan it charges
  // by) run once: true the first time only. Until then the clock is not
  // ready for control from outside.
  bool beginStartUp() { return !std::exchange(startedUp_, true); }
  bool startedUp() const { return startedUp_; }

  // The system ends the program (a signal, the end of the desktop session):
  // the seconds completed are added, the run is kept as interrupted, and the
  // program ends at once.
  void endForSystem();

 private:
  Runtime& runtime_;
  std::unique_ptr<ClockModel> clock_;
  FormTimer* tick_;
  std::unique_ptr<SessionRecorder> recorder_;
  bool startedUp_ = false;
};

}  // namespace tempodial

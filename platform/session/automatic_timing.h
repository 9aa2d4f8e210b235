// Timing that follows the network connection: the user's choice, kept in the
// settings file, and the start or stop of the clock when the
// connection asks for it. A start or stop is a press of Start/Stop, followed
// by the reason in the status panel.
#pragma once

#include <QObject>
#include <QString>

#include "core/timing/automatic_timing.h"
#include "platform/desktop/connection_watch.h"

namespace tempodial {

class ClockModel;
class Runtime;

class AutomaticTiming : public QObject {
  Q_OBJECT

 public:
  // Reads the stored choice and, if it asks for automatic timing and the
  // connection can be watched, lets the connection as it is now move the
  // clock.
  AutomaticTiming(Runtime& runtime, ClockModel& clock, QObject* parent);

  // The choice in force: "Only by hand" while the connection cannot be
  // watched, whatever is stored.
  TimingChoice choice() const { return choice_; }
  // True iff the connection can be watched (tries again while it cannot).
  bool watchAvailable() { return watch_.available(); }
  bool online() const { return watch_.online(); }
  bool metered() const { return watch_.metered(); }

  // Makes `choice` the one in force and stores it; the connection as it is
  // now then moves the clock. Returns the choice in force: "Only by hand"
  // when the connection cannot be watched.
  TimingChoice choose(TimingChoice choice);

 Q_SIGNALS:
  // The connection changed (after the clock has followed it).
  void connectionChanged();

 private:
  void follow();
  void followAfterStartUp();
  bool store(TimingChoice choice);

  Runtime& runtime_;
  ClockModel& clock_;
  ConnectionWatch watch_;
  ConnectionRule rule_;
  TimingChoice choice_ = TimingChoice::ByHand;
};

// The reason an automatic start or stop writes into the status panel.
QString timingStepText(TimingStep step);

}  // namespace tempodial

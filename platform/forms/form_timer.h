// A window's timer: a precise Qt timer, so that a 1000 ms timer does not
// drift against the wall clock. Tests make it elapse without waiting.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace tempodial {

class FormTimer : public QObject {
  Q_OBJECT

 public:
  FormTimer(QObject* parent, const QString& name, int intervalMs, bool enabled);

  bool enabled() const { return timer_.isActive(); }
  // Enabling a stopped timer restarts its interval; enabling a running one
  // changes nothing.
  void setEnabled(bool enabled);
  int interval() const { return timer_.interval(); }

  // Runs the tick handler as an elapse would, if the timer is enabled.
  void elapse();

  // A timer that waits for something to do: set, it runs its handler once,
  // one interval after the first call to arm() since it last ran, and then
  // stops until armed again. So a burst of changes costs one tick.
  void setRunsOnce(bool once) { runsOnce_ = once; }
  bool runsOnce() const { return runsOnce_; }
  void arm() { setEnabled(true); }

  std::function<void()> onTick;
  // Runs when the timer is enabled or disabled (not when it already was).
  std::function<void(bool enabled)> onEnabledChanged;

 private:
  QTimer timer_;
  bool runsOnce_ = false;
};

}  // namespace tempodial

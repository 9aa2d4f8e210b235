// The clock from outside: the D-Bus object through which hotkeys, panel
// modules and scripts start, stop and read the clock model
// (platform/control/io.github.tempodial.Clock.xml). It does what the main
// window's buttons do and nothing more: nothing writes the counters or the
// cost over the bus. It lives on the session bus only.
//
// Its properties follow the model: what changed is sent in one
// PropertiesChanged at most once a second, gathered from the model's signals
// by a single-shot timer that is started only when something changed, so a
// clock that stands still never wakes the program.
#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>
#include <functional>
#include <memory>

namespace tempodial {

class ClockModel;
class ClockSession;
class Runtime;

namespace control {
// The program's own name (its desktop file's and metainfo's application id),
// its object and the clock's interface.
inline constexpr char kService[] = "io.github.tempodial.tempodial";
inline constexpr char kPath[] = "/io/github/tempodial/tempodial";
inline constexpr char kInterface[] = "io.github.tempodial.Clock";
inline constexpr char kNotReady[] = "io.github.tempodial.Clock.Error.NotReady";
inline constexpr char kQuestionOpen[] = "io.github.tempodial.Clock.Error.QuestionOpen";
// The least time between two PropertiesChanged.
inline constexpr int kSignalSpacingMs = 1000;
}  // namespace control

class ClockControl : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "io.github.tempodial.Clock")
  Q_PROPERTY(bool Running READ running SCRIPTABLE true)
  Q_PROPERTY(qlonglong Seconds READ seconds SCRIPTABLE true)
  Q_PROPERTY(QString Cost READ cost SCRIPTABLE true)
  Q_PROPERTY(QString Currency READ currency SCRIPTABLE true)
  Q_PROPERTY(QString RateInForce READ rateInForce SCRIPTABLE true)
  Q_PROPERTY(qulonglong ReceivedBytes READ receivedBytes SCRIPTABLE true)
  Q_PROPERTY(qulonglong SentBytes READ sentBytes SCRIPTABLE true)
  Q_PROPERTY(QString Plan READ plan SCRIPTABLE true)

 public:
  // What the object needs of the windows.
  struct Hooks {
    // The session has started up: the clock has its rates, currency and
    // plan (with or without the main window).
    std::function<bool()> windowStands;
    // A window asks a question that holds the main window's buttons.
    std::function<bool()> questionOpen;
    // The main window's reset: opens its question and returns when answered.
    std::function<void()> reset;
    // Shows the main window and brings it to the front.
    std::function<void()> showWindow;
  };

  // `monotonicMs` is the clock by which signals are spaced.
  ClockControl(ClockModel& clock, Hooks hooks, std::function<qint64()> monotonicMs,
               QObject* parent = nullptr);

  bool running() const;
  qlonglong seconds() const;
  QString cost() const;
  QString currency() const;
  QString rateInForce() const;
  qulonglong receivedBytes() const;
  qulonglong sentBytes() const;
  QString plan() const;
  // Every property by its D-Bus name.
  QVariantMap properties() const;

  // Whether a PropertiesChanged is due, and the delay it was made due with.
  bool signalPending() const { return timer_.isActive(); }
  int signalDelayMs() const { return timer_.interval(); }
  // Sends what changed since the last signal, if anything did (the timer's
  // work; tests call it instead of waiting).
  void sendChanges();

 public Q_SLOTS:
  Q_SCRIPTABLE void Start();
  Q_SCRIPTABLE void Stop();
  Q_SCRIPTABLE void Toggle();
  Q_SCRIPTABLE void Reset();
  Q_SCRIPTABLE void ShowWindow();

 Q_SIGNALS:
  // The properties that changed, by name, as PropertiesChanged carries them.
  void propertiesChanged(const QVariantMap& changed);

 private:
  // The model said something changed: a signal is made due.
  void modelChanged();
  // Whether the clock's buttons may be pressed now; if not, the caller on
  // the bus is told why.
  bool buttonsFree();
  bool refuse(const char* error, const QString& why);

  ClockModel& clock_;
  Hooks hooks_;
  std::function<qint64()> monotonicMs_;
  QTimer timer_;
  QVariantMap sent_;         // the properties as last sent
  qint64 sentAtMs_ = -1;     // when, or -1 before the first
  bool resetAsked_ = false;  // a Reset is queued or its question open
};

// Makes the clock's object for the program's windows and exports it on the
// session bus under control::kService. Where there is no session bus, or
// the name is taken, the program runs on without it. `reset` and
// `showWindow` are the main window's (which they build if need be); they
// are called only once the session has started up.
std::unique_ptr<ClockControl> exportClockControl(Runtime& runtime, ClockSession& session,
                                                 std::function<void()> reset,
                                                 std::function<void()> showWindow);

}  // namespace tempodial

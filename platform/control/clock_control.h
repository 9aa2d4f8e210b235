// The clock from outside: the D-Bus object through which hotkeys, panel
// modules and scripts start, stop and read the clock model. Its interface is
// written once, in platform/control/io.github.tempodial.Clock.xml, from
// which its adaptor is generated; this object gives the adaptor its
// properties and methods. It does what the main window's buttons do and
// nothing more: nothing writes the counters or the cost over the bus. It
// lives on the session bus only.
//
// Its properties follow the model: after anything the model says, once the
// event being handled is over, what changed is sent in one
// PropertiesChanged, with no timer of its own. The seconds a running clock
// counts are not sent (a reader advances them while Running is true), so a
// running clock that nobody looks at costs the bus nothing; every signal
// carries Seconds as it stands, for the reader to count on from.
#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>
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
inline constexpr char kNotReady[] = "io.github.tempodial.Clock.Error.NotReady";
inline constexpr char kQuestionOpen[] = "io.github.tempodial.Clock.Error.QuestionOpen";
// The clock's interface name, as its introspection file gives it.
QString interfaceName();
}  // namespace control

class ClockControl : public QObject, protected QDBusContext {
  Q_OBJECT
  // The interface's properties, which its adaptor reads by these names.
  Q_PROPERTY(bool Running READ running)
  Q_PROPERTY(qlonglong Seconds READ seconds)
  Q_PROPERTY(QString Cost READ cost)
  Q_PROPERTY(QString Currency READ currency)
  Q_PROPERTY(QString RateInForce READ rateInForce)
  Q_PROPERTY(qulonglong ReceivedBytes READ receivedBytes)
  Q_PROPERTY(qulonglong SentBytes READ sentBytes)
  Q_PROPERTY(QString Plan READ plan)
  Q_PROPERTY(bool QuestionOpen READ questionOpen)

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

  ClockControl(ClockModel& clock, Hooks hooks, QObject* parent = nullptr);

  bool running() const;
  qlonglong seconds() const;
  QString cost() const;
  QString currency() const;
  QString rateInForce() const;
  qulonglong receivedBytes() const;
  qulonglong sentBytes() const;
  QString plan() const;
  bool questionOpen() const;
  // The interface's property names, as its introspection file lists them.
  static QStringList propertyNames();
  // Every property of the interface by its D-Bus name.
  QVariantMap properties() const;

  // Something may have changed (the model spoke, a question opened or
  // closed): the properties are looked at again once the event being
  // handled is over, however often this is called meanwhile.
  void lookAgain();
  bool lookPending() const { return lookPending_; }
  // Sends what changed since the last signal, if anything changed that a
  // reader could not have told: any property but Seconds, or Seconds other
  // than by the clock's counting. Seconds goes along with every signal.
  void sendChanges();

  // The interface's methods, called by its adaptor.
  void Start();
  void Stop();
  void Toggle();
  void Reset();
  void ShowWindow();

 Q_SIGNALS:
  // The properties that changed, by name, as PropertiesChanged carries them.
  void propertiesChanged(const QVariantMap& changed);

 private:
  // The call's caller has left the bus since it called: it gave up waiting
  // and told its user that the call failed (the program was frozen or too
  // busy to answer), so the call must have no effect now.
  bool callerLeft() const;
  // Whether the clock's buttons may be pressed now (and the caller still
  // waits); if not, the caller on the bus is told why.
  bool buttonsFree();
  bool refuse(const char* error, const QString& why);

  ClockModel& clock_;
  Hooks hooks_;
  QVariantMap sent_;             // the properties as last sent
  qint64 countedSinceSent_ = 0;  // seconds the clock counted since then
  bool lookPending_ = false;
  bool resetAsked_ = false;  // a Reset is queued or its question open
};

// Makes the clock's object for the program's windows and exports it on the
// session bus under control::kService. Where there is no session bus, or
// the name is taken, the program runs on without it. `reset` and
// `showWindow` are the main window's (which they build if need be); they
// are called only once the session has started up.
std::unique_ptr<ClockControl> exportClockControl(ClockSession& session, std::function<void()> reset,
                                                 std::function<void()> showWindow);

}  // namespace tempodial

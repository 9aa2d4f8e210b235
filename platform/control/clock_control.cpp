#include "platform/control/clock_control.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QEvent>
#include <QMetaProperty>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>

#include "clock_adaptor.h"
#include "platform/clock/clock_model.h"
#include "platform/clock/plan_meter.h"
#include "platform/runtime/runtime.h"
#include "platform/session/clock_session.h"

namespace tempodial {

namespace control {
QString interfaceName() {
  const QMetaObject& adaptor = ClockAdaptor::staticMetaObject;
  return QString::fromLatin1(
      adaptor.classInfo(adaptor.indexOfClassInfo("D-Bus Interface")).value());
}
}  // namespace control

namespace {

// The property a running clock changes by itself, each second.
constexpr char kCounted[] = "Seconds";

// Looks at the clock's properties again whenever a modal window (a question)
// is shown or hidden anywhere in the program.
class QuestionWatch : public QObject {
 public:
  explicit QuestionWatch(ClockControl& control) : QObject(&control), control_(control) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) &&
        watched->isWidgetType()) {
      const auto* widget = static_cast<QWidget*>(watched);
      if (widget->isWindow() && widget->isModal()) control_.lookAgain();
    }
    return false;
  }

 private:
  ClockControl& control_;
};

}  // namespace

ClockControl::ClockControl(ClockModel& clock, Hooks hooks, QObject* parent)
    : QObject(parent), clock_(clock), hooks_(std::move(hooks)) {
  // Whatever the model says may change a property: every signal of the
  // model that comes with a change of one of them is followed.
  for (auto changed :
       {&ClockModel::countersChanged, &ClockModel::costChanged, &ClockModel::currencyChanged,
        &ClockModel::rateInForceChanged, &ClockModel::planReloaded, &ClockModel::volumeChanged,
        &ClockModel::runStarted, &ClockModel::runStopped}) {
    connect(&clock_, changed, this, &ClockControl::lookAgain);
  }
  connect(&clock_, &ClockModel::runningChanged, this, &ClockControl::lookAgain);
  connect(&clock_, &ClockModel::counted, this, [this](int added) { countedSinceSent_ += added; });
  if (QCoreApplication* application = QCoreApplication::instance()) {
    application->installEventFilter(new QuestionWatch(*this));
  }
  sent_ = properties();
}

bool ClockControl::running() const { return clock_.running(); }

qlonglong ClockControl::seconds() const {
  // A counter typed as a fraction counts down to the whole second; one past
  // any count of seconds is held at the limit.
  const double total = std::floor(clock_.totalSeconds());
  constexpr double kLimit = 9.2e18;
  if (std::isnan(total)) return 0;
  return static_cast<qlonglong>(std::clamp(total, -kLimit, kLimit));
}

QString ClockControl::cost() const { return clock_.cost(); }

QString ClockControl::currency() const { return clock_.currencySymbol(); }

QString ClockControl::rateInForce() const {
  const ClockModel::RateInForce& rate = clock_.rateInForce();
  return rate.shown ? rate.caption : QString();
}

qulonglong ClockControl::receivedBytes() const {
  const auto volume = clock_.volume();
  return volume ? static_cast<qulonglong>(std::max<qint64>(volume->received, 0)) : 0;
}

qulonglong ClockControl::sentBytes() const {
  const auto volume = clock_.volume();
  return volume ? static_cast<qulonglong>(std::max<qint64>(volume->sent, 0)) : 0;
}

QString ClockControl::plan() const { return clock_.planMeter().planName(); }

bool ClockControl::questionOpen() const { return hooks_.questionOpen(); }

QStringList ClockControl::propertyNames() {
  QStringList names;
  const QMetaObject& adaptor = ClockAdaptor::staticMetaObject;
  for (int i = adaptor.propertyOffset(); i < adaptor.propertyCount(); ++i) {
    names << QString::fromLatin1(adaptor.property(i).name());
  }
  return names;
}

QVariantMap ClockControl::properties() const {
  QVariantMap all;
  for (const QString& name : propertyNames()) all.insert(name, property(name.toLatin1()));
  return all;
}

void ClockControl::lookAgain() {
  if (lookPending_) return;
  // Posted, not timed: it runs before the event loop waits again, so it
  // wakes nothing, and what one event changed goes out in one signal.
  lookPending_ = true;
  QMetaObject::invokeMethod(this, &ClockControl::sendChanges, Qt::QueuedConnection);
}

void ClockControl::sendChanges() {
  lookPending_ = false;
  const QVariantMap now = properties();
  const QString counted = QString::fromLatin1(kCounted);
  QVariantMap changed;
  for (auto it = now.cbegin(); it != now.cend(); ++it) {
    if (it.key() != counted && sent_.value(it.key()) != it.value()) {
      changed.insert(it.key(), it.value());
    }
  }
  const qlonglong seconds = now.value(counted).toLongLong();
  if (changed.isEmpty() && seconds == sent_.value(counted).toLongLong() + countedSinceSent_) {
    return;
  }
  changed.insert(counted, seconds);
  sent_ = now;
  countedSinceSent_ = 0;
  Q_EMIT propertiesChanged(changed);
}

bool ClockControl::refuse(const char* error, const QString& why) {
  if (calledFromDBus()) sendErrorReply(QString::fromLatin1(error), why);
  return false;
}

bool ClockControl::callerLeft() const {
  if (!calledFromDBus() || !message().isReplyRequired()) return false;
  const QDBusConnectionInterface* bus = connection().interface();
  return bus != nullptr && !bus->isServiceRegistered(message().service()).value();
}

bool ClockControl::buttonsFree() {
  if (callerLeft()) return false;
  if (!hooks_.windowStands()) {
    return refuse(control::kNotReady, QStringLiteral("Tempodial is still starting"));
  }
  if (hooks_.questionOpen()) {
    return refuse(control::kQuestionOpen,
                  QStringLiteral("Tempodial is waiting for an answer in its window"));
  }
  return true;
}

void ClockControl::Start() {
  if (buttonsFree() && !clock_.running()) clock_.startStop();
}

void ClockControl::Stop() {
  if (buttonsFree() && clock_.running()) clock_.startStop();
}

void ClockControl::Toggle() {
  if (buttonsFree()) clock_.startStop();
}

void ClockControl::Reset() {
  if (!buttonsFree() || resetAsked_) return;
  // The question waits for its answer: the caller has its reply first.
  resetAsked_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        hooks_.reset();
        resetAsked_ = false;
      },
      Qt::QueuedConnection);
}

void ClockControl::ShowWindow() {
  if (callerLeft()) return;
  if (!hooks_.windowStands()) {
    refuse(control::kNotReady, QStringLiteral("Tempodial is still starting"));
    return;
  }
  hooks_.showWindow();
}

std::unique_ptr<ClockControl> exportClockControl(ClockSession& session, std::function<void()> reset,
                                                 std::function<void()> showWindow) {
  ClockControl::Hooks hooks{
      .windowStands = [&session] { return session.startedUp(); },
      .questionOpen = [] { return QApplication::activeModalWidget() != nullptr; },
      .reset = std::move(reset),
      .showWindow = std::move(showWindow),
  };
  auto control = std::make_unique<ClockControl>(session.clock(), std::move(hooks));
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return control;
  new ClockAdaptor(control.get());
  const QString path = QString::fromLatin1(control::kPath);
  if (!bus.registerObject(path, control.get(), QDBusConnection::ExportAdaptors)) return control;
  if (!bus.registerService(QString::fromLatin1(control::kService))) {
    bus.unregisterObject(path);
    return control;
  }
  QObject::connect(control.get(), &ClockControl::propertiesChanged, control.get(),
                   [path](const QVariantMap& changed) {
                     QDBusMessage signal = QDBusMessage::createSignal(
                         path, QStringLiteral("org.freedesktop.DBus.Properties"),
                         QStringLiteral("PropertiesChanged"));
                     signal << control::interfaceName() << changed << QStringList();
                     QDBusConnection::sessionBus().send(signal);
                   });
  return control;
}

}  // namespace tempodial

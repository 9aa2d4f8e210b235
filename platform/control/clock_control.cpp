#include "platform/control/clock_control.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/clock/clock_model.h"
#include "platform/clock/plan_meter.h"
#include "platform/runtime/runtime.h"
#include "platform/session/clock_session.h"

namespace tempodial {

ClockControl::ClockControl(ClockModel& clock, Hooks hooks, std::function<qint64()> monotonicMs,
                           QObject* parent)
    : QObject(parent),
      clock_(clock),
      hooks_(std::move(hooks)),
      monotonicMs_(std::move(monotonicMs)) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &ClockControl::sendChanges);
  for (auto changed :
       {&ClockModel::countersChanged, &ClockModel::costChanged, &ClockModel::currencyChanged,
        &ClockModel::rateInForceChanged, &ClockModel::volumeChanged}) {
    connect(&clock_, changed, this, &ClockControl::modelChanged);
  }
  connect(&clock_, &ClockModel::runningChanged, this, &ClockControl::modelChanged);
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

QVariantMap ClockControl::properties() const {
  return {
      {QStringLiteral("Running"), running()},
      {QStringLiteral("Seconds"), seconds()},
      {QStringLiteral("Cost"), cost()},
      {QStringLiteral("Currency"), currency()},
      {QStringLiteral("RateInForce"), rateInForce()},
      {QStringLiteral("ReceivedBytes"), receivedBytes()},
      {QStringLiteral("SentBytes"), sentBytes()},
      {QStringLiteral("Plan"), plan()},
  };
}

void ClockControl::modelChanged() {
  if (timer_.isActive()) return;
  qint64 delay = 0;
  if (sentAtMs_ >= 0) {
    delay = std::clamp<qint64>(sentAtMs_ + control::kSignalSpacingMs - monotonicMs_(), 0,
                               control::kSignalSpacingMs);
  }
  timer_.start(static_cast<int>(delay));
}

void ClockControl::sendChanges() {
  timer_.stop();
  const QVariantMap now = properties();
  QVariantMap changed;
  for (auto it = now.cbegin(); it != now.cend(); ++it) {
    if (sent_.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
  }
  if (changed.isEmpty()) return;
  sent_ = now;
  sentAtMs_ = monotonicMs_();
  Q_EMIT propertiesChanged(changed);
}

bool ClockControl::refuse(const char* error, const QString& why) {
  if (calledFromDBus()) sendErrorReply(QString::fromLatin1(error), why);
  return false;
}

bool ClockControl::buttonsFree() {
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
  if (!hooks_.windowStands()) {
    refuse(control::kNotReady, QStringLiteral("Tempodial is still starting"));
    return;
  }
  hooks_.showWindow();
}

std::unique_ptr<ClockControl> exportClockControl(Runtime& runtime, ClockSession& session,
                                                 std::function<void()> reset,
                                                 std::function<void()> showWindow) {
  ClockControl::Hooks hooks{
      .windowStands = [&session] { return session.startedUp(); },
      .questionOpen = [] { return QApplication::activeModalWidget() != nullptr; },
      .reset = std::move(reset),
      .showWindow = std::move(showWindow),
  };
  auto control = std::make_unique<ClockControl>(
      session.clock(), std::move(hooks), [&runtime] { return runtime.services().monotonicMs(); });
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return control;
  const QString path = QString::fromLatin1(control::kPath);
  if (!bus.registerObject(
          path, control.get(),
          QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableProperties)) {
    return control;
  }
  if (!bus.registerService(QString::fromLatin1(control::kService))) {
    bus.unregisterObject(path);
    return control;
  }
  QObject::connect(control.get(), &ClockControl::propertiesChanged, control.get(),
                   [path](const QVariantMap& changed) {
                     QDBusMessage signal = QDBusMessage::createSignal(
                         path, QStringLiteral("org.freedesktop.DBus.Properties"),
                         QStringLiteral("PropertiesChanged"));
                     signal << QString::fromLatin1(control::kInterface) << changed << QStringList();
                     QDBusConnection::sessionBus().send(signal);
                   });
  return control;
}

}  // namespace tempodial

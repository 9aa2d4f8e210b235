#include "platform/session/automatic_timing.h"

#include "platform/clock/clock_model.h"
#include "platform/files/settings_file.h"
#include "platform/runtime/runtime.h"

namespace tempodial {
QString timingStepText(TimingStep step) {
  switch (step) {
    case TimingStep::Start:
      return QStringLiteral("Connection is up: the timer has been started");
    case TimingStep::StopOffline:
      return QStringLiteral("Connection is down: the timer has been stopped");
    case TimingStep::StopNotMetered:
      return QStringLiteral("Connection is not metered: the timer has been stopped");
    case TimingStep::None:
      break;
  }
  return QString();
}

AutomaticTiming::AutomaticTiming(Runtime& runtime, ClockModel& clock, QObject* parent)
    : QObject(parent), runtime_(runtime), clock_(clock) {
  connect(&watch_, &ConnectionWatch::changed, this, [this] {
    follow();
    Q_EMIT connectionChanged();
  });
  const TimingChoice choice =
      timingChoiceFromKey(storedTimingChoice().toStdString()).value_or(TimingChoice::ByHand);
  // The watch is started only for someone who asked for it.
  if (choice == TimingChoice::ByHand || !watch_.available()) return;
  choice_ = choice;
  followAfterStartUp();
}

void AutomaticTiming::followAfterStartUp() {
  // The main window loads while the start-up still has to offer back a run
  // that was cut short, and that offer, queued right after this load, looks
  // at the journal's last run. A run started now would be that last run; so
  // the connection moves the clock only after the offer has read the journal
  // (it may still be waiting for the user's answer).
  QMetaObject::invokeMethod(
      this,
      [this] { QMetaObject::invokeMethod(this, &AutomaticTiming::follow, Qt::QueuedConnection); },
      Qt::QueuedConnection);
}

TimingChoice AutomaticTiming::choose(TimingChoice choice) {
  if (choice != TimingChoice::ByHand && !watch_.available()) choice = TimingChoice::ByHand;
  if (!store(choice)) return choice_;
  choice_ = choice;
  rule_.reset();
  follow();
  return choice_;
}

bool AutomaticTiming::store(TimingChoice choice) {
  if (storeTimingChoice(QString::fromLatin1(timingChoiceKey(choice)))) return true;
  runtime_.message(QStringLiteral("Could not save the choice in %1: the file cannot be written")
                       .arg(settingsPath()));
  return false;
}

void AutomaticTiming::follow() {
  if (runtime_.ended()) return;
  const TimingStep step = rule_.look(choice_, watch_.online(), watch_.metered(), clock_.running());
  if (step == TimingStep::None) return;
  clock_.startStop();
  clock_.say(timingStepText(step));
}

}  // namespace tempodial

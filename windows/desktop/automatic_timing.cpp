#include "windows/desktop/automatic_timing.h"

#include <QSettings>
#include <QStandardPaths>

#include "platform/forms/form_timer.h"
#include "platform/runtime/runtime.h"
#include "windows/main/main_window.h"

namespace tempodial {
namespace {

const QString kGroup = QStringLiteral("timing");
const QString kKey = QStringLiteral("automatic");

}  // namespace

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

QString AutomaticTiming::settingsPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/tempodial/tempodial.conf");
}

AutomaticTiming::AutomaticTiming(MainWindow& main) : QObject(&main), main_(main) {
  connect(&watch_, &ConnectionWatch::changed, this, [this] {
    follow();
    Q_EMIT connectionChanged();
  });
  QSettings settings(settingsPath(), QSettings::IniFormat);
  const QString stored = settings.value(kGroup + QLatin1Char('/') + kKey).toString();
  const TimingChoice choice =
      timingChoiceFromKey(stored.toStdString()).value_or(TimingChoice::ByHand);
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
  QSettings settings(settingsPath(), QSettings::IniFormat);
  settings.beginGroup(kGroup);
  settings.setValue(kKey, QString::fromLatin1(timingChoiceKey(choice)));
  settings.endGroup();
  settings.sync();
  if (settings.status() == QSettings::NoError) return true;
  main_.runtime().message(
      QStringLiteral("Could not save the choice in %1: the file cannot be written")
          .arg(settingsPath()));
  return false;
}

void AutomaticTiming::follow() {
  if (main_.runtime().ended()) return;
  const TimingStep step =
      rule_.look(choice_, watch_.online(), watch_.metered(), main_.Timer1->enabled());
  if (step == TimingStep::None) return;
  main_.startStop();
  main_.setStatus(timingStepText(step));
}

}  // namespace tempodial

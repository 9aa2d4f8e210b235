// The clock and the session it times: the three counters (as the texts their
// boxes show), the cost so far, the currency, the tariff and rate in use, the
// running flag with its real-time catch-up and sleep handling, and the plan
// meter. The windows are its views: the main window's boxes show it and hand
// it what is typed or loaded; every other feature reads it and listens to its
// signals, never to the main window's controls.
//
// The order of what it says, written once here:
//  - Start: runningChanged(true); the plan meter takes the plan in use;
//    runStarted() (the journal's row begins with the cost as it stood); the
//    plan's connection charge (costChanged).
//  - Each catch-up of the running clock: for each second added, the carried
//    counters (countersChanged), then a completed minute's classic charge
//    (costChanged); then the plan meter's steps (costChanged); counted(added).
//  - Stop: the seconds still due are added as above; runningChanged(false);
//    the plan's minimum (costChanged); runStopped() (the row is closed with
//    the final cost).
//  - A press of Start/Stop then says "The timer has been touched".
// A value is written, and its signal given, only when it changes.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "core/clock/clock_rules.h"
#include "core/history/history.h"
#include "core/volume/data_volume.h"

namespace tempodial {

class PlanMeter;
class SleepWatch;

class ClockModel : public QObject {
  Q_OBJECT

 public:
  // `monotonicMs` is the clock that real time is measured by.
  explicit ClockModel(std::function<qint64()> monotonicMs, QObject* parent = nullptr);
  ~ClockModel() override;

  // The counters, as their boxes show them.
  QString counter(clock::Counter which) const;
  QString hours() const { return counter(clock::Counter::Hours); }
  QString minutes() const { return counter(clock::Counter::Minutes); }
  QString seconds() const { return counter(clock::Counter::Seconds); }
  // A counter typed, loaded, reset or restored: it carries as the box always
  // has, and a completed minute is charged by the classic meter.
  void setCounter(clock::Counter which, const QString& text);
  // The time on the clock in seconds, each counter read as a number.
  double totalSeconds() const { return clock::totalSeconds(counters_); }

  // The cost so far, as the cost box shows it.
  const QString& cost() const { return cost_; }
  void setCost(const QString& text);

  // The currency's symbol ("£") and the name its panel shows.
  const QString& currencySymbol() const { return currencySymbol_; }
  const QString& currencyName() const { return currencyName_; }
  void setCurrency(const QString& symbol, const QString& name);

  // The classic tariff's name and its rate in minor units per minute, as
  // the Options window shows them.
  const QString& tariff() const { return tariff_; }
  const QString& rate() const { return rate_; }
  void setTariff(const QString& name);
  void setRate(const QString& text);
  // The tariff and rate the journal records for the run: the plan's and the
  // rate last in force while a plan charges, else the classic ones.
  std::pair<QString, double> tariffForJournal() const;

  // The rate in force under a tariff plan, shown beside the cost.
  struct RateInForce {
    bool shown = false;
    QString caption;  // "Off-peak 0.5p/min"
    QString detail;   // why the plan cannot be used, if it cannot
    friend bool operator==(const RateInForce&, const RateInForce&) = default;
  };
  const RateInForce& rateInForce() const { return rateInForce_; }
  void setRateInForce(const RateInForce& rate);

  // Whether the cost area is shown, and whether it is shown at start-up.
  bool costShown() const { return costShown_; }
  void setCostShown(bool shown);
  bool costShownAtStartUp() const { return costShownAtStartUp_; }
  void setCostShownAtStartUp(bool shown);

  // A message for the status panel (said, not kept: the panel is the main
  // window's, and a window built later greets the user itself).
  void say(const QString& text);

  // The clock.
  bool running() const { return running_; }
  // Seconds the clock has added since the run started.
  qint64 runSeconds() const { return runCounted_; }
  // A press of Start/Stop: starts or stops, then says so.
  void startStop();
  // The clock's timer: every whole second of real time since the start that
  // is not yet on the clock is added, one second at a time, so that late or
  // dropped ticks lose nothing.
  void catchUp();
  // The program is ended by the system: the seconds completed are added.
  void catchUpAtEnd();
  // One second more on the clock, as a tick adds it (benchmarks).
  void tick();

  // The bytes of the running run, or of the last one, as last read.
  std::optional<DataVolume> volume() const { return volume_; }
  // A run began counting its bytes from nothing.
  void volumeStarted();
  // A reading of the run's bytes: a plan that charges by the MB charges it.
  void volumeRead(DataVolume volume);

  // The data allowance of the plan in use over the billing month, as last
  // read: its bytes, what the recorded sessions of the month used (the
  // running run left out: its volume() adds to it) and the first day of the
  // next billing month. None while the plan in use has no allowance.
  struct Allowance {
    std::int64_t bytes = 0;
    std::int64_t recorded = 0;
    CivilDate resets;
    friend bool operator==(const Allowance&, const Allowance&) = default;
  };
  const std::optional<Allowance>& allowance() const { return allowance_; }
  void setAllowance(const std::optional<Allowance>& allowance);

  PlanMeter& planMeter() { return *planMeter_; }
  const PlanMeter& planMeter() const { return *planMeter_; }

 Q_SIGNALS:
  // Once, after the changes of this moment are all made (a carry changes two
  // counters, a minute the cost too): for a view that shows everything at
  // once. Any value below but the ordered run signals sets it off.
  void changed();
  void countersChanged();
  void costChanged();
  void currencyChanged();
  void tariffChanged();
  void rateInForceChanged();
  // The plan in use was read again (another plan, or none, may be in use).
  void planReloaded();
  void costShownChanged(bool shown);
  void costShownAtStartUpChanged(bool shown);
  void said(const QString& text);
  void volumeChanged();
  void allowanceChanged();
  void runningChanged(bool running);
  void runStarted();
  void counted(int added);
  void runStopped();

 private:
  void start();
  void stop();
  // Adds seconds until `due` seconds of this run are on the clock.
  void countUpTo(qint64 due);
  // Applies a change of the counters and the classic minute charge.
  void changeCounters(const std::function<bool(clock::Counters&)>& change);
  void chargeMinute();
  void sleptWhileRunning(qint64 sleptMs);
  // Says changed() once control is back in the event loop.
  void changeSoon();

  std::function<qint64()> monotonicMs_;
  clock::Counters counters_;
  QString cost_ = QStringLiteral("0");
  QString currencySymbol_;
  QString currencyName_;
  QString tariff_;
  QString rate_;
  RateInForce rateInForce_;
  bool costShown_ = false;
  bool costShownAtStartUp_ = false;
  bool running_ = false;
  qint64 runStartMs_ = 0;  // monotonic time of the last start
  qint64 runCounted_ = 0;  // seconds the clock has added since then
  std::optional<DataVolume> volume_;
  std::optional<Allowance> allowance_;
  std::unique_ptr<PlanMeter> planMeter_;
  SleepWatch* sleepWatch_ = nullptr;
  bool changePending_ = false;  // made at the first start of the clock
};

}  // namespace tempodial

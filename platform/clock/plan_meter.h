// The cost meter while a tariff plan is in use: the connection charge when
// the clock starts, each charging step as its first second is counted, the
// minimum when it stops, and a charge per MB as the data volume is read; the
// rate label beside the cost shows the rate in
// force and the status panel says when it changes. It writes only to the
// clock model, which the windows show. Each charge is added to
// whatever the cost box holds then, so a CostLog loaded or an amount typed
// meanwhile is kept. With no plan in use it does nothing and the classic
// per-minute charge runs as ever.
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "core/plans/plan_run.h"

namespace tempodial {

class ClockModel;

class PlanMeter {
 public:
  explicit PlanMeter(ClockModel& clock);

  // Reads the plan in use again from the settings. While the clock runs the
  // run keeps its plan, and the new one counts from the next start. Returns
  // why the plan in use cannot be used, or nothing.
  QString reload();

  // Whether the plan charges, so that the classic minute charge must not:
  // while the clock runs, whether this run is charged by a plan; otherwise,
  // whether a plan is in use.
  bool charges() const;
  // The plan of the running (or last) run, for the journal; nothing while
  // the classic tariffs charge.
  std::optional<std::pair<QString, double>> tariffForJournal() const;

  // The name of the plan that charges: the run's while the clock runs,
  // otherwise the plan in use; empty while the classic tariffs charge.
  QString planName() const;

  // Before the journal's row begins: the run takes the plan in use.
  void clockStarting();
  // After the row began: the connection charge.
  void clockStarted();
  // The clock counted `elapsed` seconds since its start.
  void counted(qint64 elapsed);
  // The clock stopped after `elapsed` seconds: the minimum, or for a run of
  // 0 s no charge at all.
  void clockStopped(qint64 elapsed);
  // The cost box's text `cost` as it would stand if the run ended now, the
  // plan's minimum included: what the journal keeps for a run cut short.
  QString costIfEnded(const QString& cost) const;
  // The run's data volume was read (with the journal's update, and once
  // more as the run ends): a plan that charges by the MB charges it.
  void volumeCounted(qint64 bytes);

 private:
  // A plan with a data allowance: the run charges by the MB only beyond
  // what is left of the billing month's, and starts a new one at its end.
  void takeAllowance(qint64 now);
  void addToCost(plans::Amount charge);
  void showRate();

  ClockModel& clock_;
  std::optional<plans::Plan> plan_;
  QString error_;  // why the plan in use cannot be used
  std::optional<plans::PlanRun> run_;
  bool running_ = false;
  plans::Amount charged_ = 0;  // what this run has added to the cost box
  std::size_t periodsAnnounced_ = 0;
};

}  // namespace tempodial

// The tariff plans on disk: one INI file per plan in
// $XDG_CONFIG_HOME/tempodial/plans/NAME.ini, the plan in use named in
// tempodial.conf, and the local time the plans' rules are tested against.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/plans/plan_run.h"
#include "core/values/status.h"

namespace tempodial {

// "$XDG_CONFIG_HOME/tempodial/plans".
QString plansFolder();

// One plan file as read: the plan, or why it cannot be used: the file itself
// cannot be read (Unreadable, "<file>: <why>") or its text is no sound plan
// (Invalid, "<file>, line <n>, key <key>: <what>").
struct PlanFile {
  QString path;
  Result<plans::Plan> plan;
  QString error() const { return QString::fromStdString(plan.reason()); }
};

// Reads one plan file; a missing, unreadable or faulty file gives its error.
PlanFile readPlanFile(const QString& path);

// Every *.ini file of the plans folder, by file name.
std::vector<PlanFile> listPlanFiles();

// The plan of that name: the file NAME.ini, else the file whose plan bears
// that name. Not found (NotFound), or found but not usable (Unreadable,
// Invalid), the reason says why: the plan's own file, or the plan files that
// cannot be read at all, where the plan may well be.
Result<plans::Plan> findPlan(const QString& name);

// Writes the plan as NAME.ini (NAME from its name), replacing the file whole.
// Returns the path written.
Result<QString> savePlan(const plans::Plan& plan);
// Deletes the plan's file.
Status deletePlanFile(const QString& path);
// Reads the file and, only when it is a sound plan, copies it into the plans
// folder under its plan's name. Returns the path written.
Result<QString> importPlan(const QString& from);
// The file savePlan() writes for a plan of that name.
QString planPath(const QString& name);
// Writes the plan to any file but `ownFiles` (the program's own), as the
// history's export writes: a file is replaced whole, a FIFO or a device
// receives the text if its reader takes it at once.
Status exportPlan(const plans::Plan& plan, const QString& to, const QStringList& ownFiles);

// The name of the plan in use; empty while the classic tariffs are used.
QString planInUse();
Status setPlanInUse(const QString& name);

// The local time of this computer at a UTC moment.
plans::LocalClock localClock();

}  // namespace tempodial

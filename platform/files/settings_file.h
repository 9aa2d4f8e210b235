// The program's own settings beyond its classic files: the usage limits, the
// billing day, the warnings already given and the automatic timing's choice, in
// $XDG_CONFIG_HOME/tempodial/tempodial.conf (INI format).
#pragma once

#include <QString>
#include <QStringList>

#include "core/history/limits.h"
#include "core/values/status.h"

namespace tempodial {

// "$XDG_CONFIG_HOME/tempodial/tempodial.conf" (default ~/.config/...).
QString settingsPath();

// The limits the settings file holds. A value that is no sound limit (see
// readLimitSetting) is left out, and noted in `ignored` as "key=value".
Limits loadLimits(QStringList* ignored = nullptr);
void saveLimits(const Limits& limits);
// Grows by one at every saveLimits, so that a reader can tell that the
// limits it holds are out of date without reading the file again.
int limitsGeneration();

// The day the billing month starts ([Billing] day=1..31); 1 when none is
// set. A value that is no day from 1 to 31 gives 1, and is noted in
// `ignored` as "day=value".
int loadBillingDay(QStringList* ignored = nullptr);
// Stores the billing day (1 to 31); grows limitsGeneration() as saveLimits
// does, as the monthly limits' periods change with it.
Status saveBillingDay(int day);

// The warnings of the plan's data allowance given so far: the billing month
// ("2026-12-15") and the highest mark warned of, kept as the limits' are.
LimitWatch::Given loadGivenAllowanceWarning();
void saveGivenAllowanceWarning(const LimitWatch::Given& given);

// The warnings given so far, kept so that each is given once per period even
// across runs of the program.
void loadGivenWarnings(LimitWatch& watch);
void saveGivenWarnings(const LimitWatch& watch);

// The automatic timing's choice as stored ("while-online"), empty when none.
QString storedTimingChoice();
// Stores it; false when the file cannot be written.
bool storeTimingChoice(const QString& key);

}  // namespace tempodial

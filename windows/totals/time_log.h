// The TimeLog: the clock's three counters saved to and loaded from
// seconds.tme, minutes.tme and hours.tme in one of the two places.
#pragma once

#include "core/files/file_places.h"

namespace tempodial {

class ClockModel;
class Runtime;

// Writes the three counters as one unit: all three files change or none
// does. A file that cannot be written is reported and false returned.
bool saveTimeLog(Runtime& runtime, const ClockModel& clock, Place place);

// Loads each file that exists into its counter (seconds, minutes, hours),
// which carries as typing does; a file that cannot be read is reported and
// leaves its counter unchanged.
void loadTimeLog(Runtime& runtime, ClockModel& clock, Place place);

// Writes the blank value to the three files in the Windows directory as one
// unit; the counters on screen do not change.
bool blankTimeLog(Runtime& runtime);

// The save of the totals on the way out: the TimeLog and then the CostLog,
// in the data directory. Returns false (after reporting) at the first failure.
bool saveTotals(Runtime& runtime, const ClockModel& clock);

}  // namespace tempodial

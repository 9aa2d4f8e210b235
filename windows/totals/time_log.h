// The TimeLog: the clock's three counters saved to and loaded from
// seconds.tme, minutes.tme and hours.tme in one of the two places.
#pragma once

#include "core/files/file_places.h"

namespace tempodial {

class MainWindow;

// Writes the three boxes as one unit: all three files change or none does. A
// file that cannot be written is reported and false returned.
bool saveTimeLog(MainWindow& main, Place place);

// Loads each file that exists into its box (seconds, minutes, hours); a file
// that cannot be read is reported and leaves its box unchanged.
void loadTimeLog(MainWindow& main, Place place);

// Writes the blank value to the three files in the Windows directory as one
// unit; the boxes on screen do not change.
bool blankTimeLog(MainWindow& main);

// The save of the totals on the way out: the TimeLog and then the CostLog,
// in the data directory. Returns false (after reporting) at the first failure.
bool saveTotals(MainWindow& main);

}  // namespace tempodial

// Several files replaced as one unit (the three TimeLog files): after an
// interruption at any point the next start finds them all old or all new, and
// a failure to write any one of them changes none. See core/files/save_unit.h for
// the steps and the record.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace tempodial {

class Places;

struct UnitFile {
  QString path;
  QByteArray bytes;
};

struct UnitOutcome {
  bool ok = true;
  // On failure: the file (as named by the caller) that could not be saved, and
  // why.
  QString failedPath;
  std::string reason;
};

// The points of a save between which it may be interrupted: the staged
// documents are written, the record is committed, file `index` is renamed
// over, the record is removed.
enum class UnitStep { Staged, Recorded, Renamed, Finished };
using UnitStepHook = std::function<void(UnitStep step, int index)>;

// Replaces every file with its bytes as one unit, using the roll-forward
// record at `recordPath`. Before anything is written each name must be
// replaceable as a single save requires (no folder, no link to anything but an
// ordinary file, writable). Owner, group and mode are kept as a single save
// keeps them. `hook`, for tests, is called after each step.
UnitOutcome saveUnit(const QString& recordPath, const std::vector<UnitFile>& files,
                     const UnitStepHook& hook = {});

// Completes or discards a unit that an interrupted save left with its record
// at `recordPath`: with a whole record the staged documents are renamed over
// their files; a torn record is dropped. Nothing happens without a record.
void finishInterruptedUnit(const QString& recordPath);

// Removes from `folder` the temporaries that interrupted saves of the program
// left there (its own names only; any other file stays). Call after
// finishInterruptedUnit, which needs the staged documents.
void removeSaveLeftovers(const QString& folder);

// What start-up does in each of the two places, once this copy of the program
// is the only one using them: completes or discards an interrupted TimeLog
// save, then removes the temporaries that interrupted saves left.
void recoverInterruptedSaves(const Places& places);

}  // namespace tempodial

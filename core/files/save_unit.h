// Several files saved as one unit (the three TimeLog files): the new documents
// are first written beside their files under staged names, then a roll-forward
// record naming the files is committed, then each staged file is renamed over
// its file, and last the record is removed. A start-up that finds a record
// completes the renames; staged files without a record are discarded. So
// after an interruption at any point the files are all old or all new.
//
// This header holds the pure part: the record's format, the staged and
// temporary names, and what to do with a record found at start-up.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tempodial {

// The roll-forward record's name, in the folder of the files it names.
inline constexpr std::string_view kUnitRecordName = "timelog.roll";
// Appended to a file's path to name its staged new document.
inline constexpr std::string_view kStagedSuffix = ".staged";

// The staged name of the file at `finalPath`.
std::string stagedPath(std::string_view finalPath);

// The record naming the files of a unit, one absolute path a line.
// Requires every path to be absolute and free of line breaks.
std::string writeUnitRecord(const std::vector<std::string>& finalPaths);

// What a start-up does with a record it finds.
struct UnitRecovery {
  // True: rename each listed file's staged document (where one is left) over
  // it. False: the record is torn or not one of ours; the old files stand.
  bool rollForward = false;
  std::vector<std::string> finalPaths;
};
UnitRecovery planRecovery(std::string_view recordText);

// Returns true iff `fileName` (a bare name in one of the two places) is a
// temporary that an interrupted save of the program leaves: a staged document
// of a file of the set, or a save temporary of a file of the set or of the
// record (the file's name, a dot and six letters or digits).
bool isSaveLeftover(std::string_view fileName);

}  // namespace tempodial

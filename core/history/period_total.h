// What the history shows of a day, a month or a year: its sessions, the
// seconds they counted, their costs per currency and their bytes, with how
// many of them were kept before bytes were counted. Totals of periods are
// summed here, and a period's bytes are written here as its tables show
// them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/history/history.h"

namespace tempodial {

struct PeriodTotal {
  CivilDate date;  // the first day of the day, month or period
  std::int64_t sessions = 0;
  std::int64_t seconds = 0;
  CurrencyTotals cost;
  std::int64_t received = 0, sent = 0;  // bytes; runs recorded before they were counted add none
  std::int64_t unknownBytes = 0;        // the sessions whose bytes are not known

  // Adds `other`'s sessions, seconds, costs and bytes; the date stays.
  void add(const PeriodTotal& other);
};

// The bytes received, sent and both together as sizes are written: all
// three blank when no session's bytes are known, and the known sums marked
// as partial ("≥ 1.2 MB") when some are not; never 0 for unknown.
std::array<std::string, 3> periodVolumeTexts(const PeriodTotal& total);

}  // namespace tempodial

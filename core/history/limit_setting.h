// A limit as the settings file spells it: a time limit in whole seconds
// ("dayTime=7200" is two hours), a cost limit as an amount in the currency in
// use with at most two decimals ("monthCost=25.50"). What the user may have
// typed by hand is read strictly, so that a limit is either one that can warn
// or none at all.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/history/limits.h"

namespace tempodial {

// The largest time limit: one hundred years of seconds.
inline constexpr std::int64_t kMostLimitSeconds = 100LL * 36525 * 864;
// The largest cost limit, in units of the currency.
inline constexpr std::int64_t kMostLimitAmount = 1'000'000'000'000LL;

struct LimitSetting {
  enum class State { None, Limit, Ignored };
  State state = State::None;
  double value = 0;  // seconds, or the amount; set for a Limit only
};

// An empty text or 0 is no limit. A limit is a whole number of seconds from 1
// to kMostLimitSeconds, or an amount above 0 and up to kMostLimitAmount with
// at most two decimals, written with digits and a point only. Anything else
// ("12 hours", "0.5", "-3", "1e300", "inf") is to be ignored.
LimitSetting readLimitSetting(LimitKind kind, std::string_view text);

}  // namespace tempodial

// Exact decimals with a fixed number of places, as plan files and the command
// line write them ("1.4", "0.05", "250"): digits, and at most one point with
// at least one digit after it; no sign, no exponent, no spaces.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tempodial {

// The value in units of 10^-places, or nothing when the text is not such a
// decimal or has more than `maxWhole` digits before the point or more than
// `places` after it.
std::optional<std::int64_t> parseFixedPoint(std::string_view text, int maxWhole, int places);

// A value (not negative) in units of 10^-places as such a decimal; trailing
// zeros of the places are dropped down to `keep` places ("12.00", "0.5").
std::string fixedPointText(std::int64_t value, int places, int keep = 0);

}  // namespace tempodial

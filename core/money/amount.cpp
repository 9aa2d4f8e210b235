// Reading works on the digits themselves (never through a double): the
// point is moved by the exponent and six places more, the digits up to it
// make the millionths and the first digit after it rounds them.
#include "core/money/amount.h"

#include <cmath>
#include <limits>

#include "core/values/number_text.h"

namespace tempodial {
namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr int kPlaces = 6;  // decimal places of a millionth

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) return b < 0 ? -kMax : kMax;
  return sum;
}

}  // namespace

Amount Amount::fromText(std::string_view text) {
  const NumberParts parts = numberParts(text);
  std::string digits;
  long long point = -1;  // digits before the full stop
  for (char c : parts.mantissa) {
    if (c == '.') {
      point = static_cast<long long>(digits.size());
    } else {
      digits.push_back(c);
    }
  }
  if (point < 0) point = static_cast<long long>(digits.size());
  // The digits that make whole millionths, then the one that rounds them.
  const long long whole = point + parts.exponent + kPlaces;
  std::int64_t micros = 0;
  bool saturated = false;
  for (long long i = 0; i < whole && !saturated; ++i) {
    const int digit = i < static_cast<long long>(digits.size()) ? digits[i] - '0' : 0;
    if (micros > (kMax - digit) / 10) {
      saturated = true;
    } else {
      micros = micros * 10 + digit;
    }
    if (i >= static_cast<long long>(digits.size()) && micros == 0) break;  // all zeros
  }
  if (saturated) {
    micros = kMax;
  } else if (whole >= 0 && whole < static_cast<long long>(digits.size()) &&
             digits[static_cast<std::size_t>(whole)] >= '5') {
    micros = saturatingAdd(micros, 1);
  }
  return {parts.negative ? -micros : micros};
}

Amount Amount::fromDouble(double value) {
  if (std::isnan(value)) return {};
  const double scaled = std::round(value * kPerUnit);
  if (scaled >= 9.2e18) return {kMax};
  if (scaled <= -9.2e18) return {-kMax};
  return {static_cast<std::int64_t>(scaled)};
}

std::string Amount::text() const {
  const bool negative = micros < 0;
  // -kMax is the least value held, so the magnitude always fits.
  const std::uint64_t magnitude =
      negative ? static_cast<std::uint64_t>(-micros) : static_cast<std::uint64_t>(micros);
  std::string text = std::to_string(magnitude / kPerUnit);
  std::string fraction = std::to_string(magnitude % kPerUnit + kPerUnit).substr(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += '.' + fraction;
  return negative ? '-' + text : text;
}

Amount& Amount::operator+=(Amount other) {
  micros = saturatingAdd(micros, other.micros);
  return *this;
}

}  // namespace tempodial

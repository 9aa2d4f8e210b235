#include "core/plans/cost_sum.h"

#include <cstdlib>

#include "core/values/number_text.h"

namespace tempodial::plans {
namespace {

using Wide = __int128;
constexpr int kPlaces = 18;  // the sum is exact to 10^-18 of the unit

Wide tenTo(int n) {
  Wide value = 1;
  while (n-- > 0) value *= 10;
  return value;
}

// An amount written as the classic writer writes it ("0.014", "-2", "1e-05"),
// in 10^-18 units; false when it has more places or is too large for them.
bool exactly(const std::string& text, Wide& value) {
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (negative) ++i;
  Wide mantissa = 0;
  int places = 0;
  bool point = false;
  for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
    if (text[i] == '.') {
      point = true;
      continue;
    }
    mantissa = mantissa * 10 + (text[i] - '0');
    if (point) ++places;
  }
  const int exponent = i < text.size() ? std::atoi(text.c_str() + i + 1) : 0;
  const int shift = kPlaces - places + exponent;
  if (shift < 0 || shift > 2 * kPlaces || mantissa > tenTo(15)) return false;
  value = mantissa * tenTo(shift);
  if (negative) value = -value;
  return true;
}

std::string written(Wide value) {
  const bool negative = value < 0;
  if (negative) value = -value;
  std::string digits;
  for (Wide rest = value; rest > 0 || digits.size() <= kPlaces; rest /= 10) {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(rest % 10)));
  }
  std::string whole = digits.substr(0, digits.size() - kPlaces);
  std::string fraction = digits.substr(digits.size() - kPlaces);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  std::string text = (negative ? "-" : "") + whole;
  return fraction.empty() ? text : text + "." + fraction;
}

}  // namespace

std::string costPlus(std::string_view costText, Amount charge) {
  const double base = readNumber(costText);
  Wide value = 0;
  if (!exactly(writeNumber(base), value)) {
    return writeNumber(base + static_cast<double>(charge) / 1e6);
  }
  return written(value + static_cast<Wide>(charge) * tenTo(kPlaces - 6));
}

}  // namespace tempodial::plans

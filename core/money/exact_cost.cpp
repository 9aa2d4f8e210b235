#include "core/money/exact_cost.h"

#include <charconv>
#include <cstdlib>

#include "core/values/number_text.h"

namespace tempodial {
namespace {

using Wide = __int128;
constexpr int kPlaces = 18;  // exact to 10^-18 of the unit

Wide tenTo(int n) {
  Wide value = 1;
  while (n-- > 0) value *= 10;
  return value;
}

// An amount as writeNumber writes it ("0.014", "-2", "1E-05").
std::optional<Wide> exactly(const std::string& text) {
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
  if (shift < 0 || shift > 2 * kPlaces || mantissa > tenTo(15)) return std::nullopt;
  const Wide value = mantissa * tenTo(shift);
  return negative ? -value : value;
}

}  // namespace

std::optional<ExactCost> ExactCost::ofText(std::string_view text) {
  const auto value = exactly(writeNumber(readNumber(text)));
  if (!value) return std::nullopt;
  return ExactCost(*value);
}

ExactCost ExactCost::ofMicros(std::int64_t micros) {
  return ExactCost(static_cast<Wide>(micros) * tenTo(kPlaces - 6));
}

std::optional<ExactCost> ExactCost::hundredth() const {
  if (value_ % 100 != 0) return std::nullopt;
  return ExactCost(value_ / 100);
}

std::string ExactCost::decimalText() const {
  Wide value = value_;
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

std::string ExactCost::boxText() const {
  // The decimal is read into the nearest double and written by the box's
  // writer: with at most 15 significant digits that gives the decimal back.
  const std::string decimal = decimalText();
  double value = 0;
  std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
  return writeNumber(value);
}

std::string costPlusMinute(std::string_view cost, std::string_view rate) {
  const auto base = ExactCost::ofText(cost);
  const auto perMinute = ExactCost::ofText(rate);
  const auto charge = perMinute ? perMinute->hundredth() : std::nullopt;
  if (!base || !charge) return writeNumber(readNumber(cost) + readNumber(rate) / 100);
  return (*base + *charge).boxText();
}

std::string costPlusMicros(std::string_view cost, std::int64_t micros) {
  const auto base = ExactCost::ofText(cost);
  if (!base) return writeNumber(readNumber(cost) + static_cast<double>(micros) / 1e6);
  return (*base + ExactCost::ofMicros(micros)).decimalText();
}

}  // namespace tempodial

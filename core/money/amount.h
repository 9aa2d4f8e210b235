// Exact amounts of money: whole millionths of the currency unit in a 64-bit
// integer, so that sums, differences and comparisons are exact (twenty
// sessions of 0.014 are 0.28, never 0.279999999999999).
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace tempodial {

struct Amount {
  static constexpr std::int64_t kPerUnit = 1'000'000;

  std::int64_t micros = 0;  // millionths of the currency unit

  // The leading number of `text`, read by the rules of the cost box ("1,5" is
  // 1, " 1 2" is 12, "1e2" is 100, no number is 0), rounded half away from
  // zero to a millionth. Beyond the range (about 9.2e12 units) it saturates.
  static Amount fromText(std::string_view text);
  // `value` rounded to a millionth, for amounts typed into a number box.
  static Amount fromDouble(double value);

  // The shortest decimal text: "0.28", "12", "-0.5", "0.000001".
  std::string text() const;

  Amount& operator+=(Amount other);
  friend Amount operator+(Amount a, Amount b) { return a += b; }
  friend Amount operator-(Amount a, Amount b) { return a += Amount{-b.micros}; }
  friend auto operator<=>(const Amount&, const Amount&) = default;
};

}  // namespace tempodial

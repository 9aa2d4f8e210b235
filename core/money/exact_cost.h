// The cost box's arithmetic: the box's leading number taken exactly as the
// classic meter reads and writes it, charges added exactly in decimal (to
// 10^-18 of the unit), and the sum written in the box's forms. The classic
// minute charge and a plan's steps both add through here, so the cost box
// never depends on binary floating point.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tempodial {

class ExactCost {
 public:
  // `text`'s leading number as the cost box holds it (read as readNumber
  // reads it, in the form writeNumber gives it). Nothing when that form has
  // more places or digits than 10^-18 of the unit with 15 digits can hold.
  static std::optional<ExactCost> ofText(std::string_view text);
  static ExactCost ofMicros(std::int64_t micros);

  // One hundredth of the amount (a rate in minor units per minute is a
  // minute's charge in units); nothing when that is not exact.
  std::optional<ExactCost> hundredth() const;

  ExactCost operator+(ExactCost other) const { return ExactCost(value_ + other.value_); }

  // All its decimals: "0.00001", "0.44", "-2".
  std::string decimalText() const;
  // As the cost box writes a number: at most 15 significant digits, "1E-05".
  std::string boxText() const;

 private:
  explicit ExactCost(__int128 value) : value_(value) {}
  __int128 value_ = 0;  // in 10^-18 of the unit
};

// The classic charge of one minute: `cost` plus `rate` / 100, written as the
// box writes numbers ("0.014", "1E-05"). Exact wherever both texts are; a
// text beyond that range is added as the classic meter always added it.
std::string costPlusMinute(std::string_view cost, std::string_view rate);

// `cost` plus `micros` millionths of the unit, with all its decimals (the
// plan meter's form: "0.028233", "0.0000001").
std::string costPlusMicros(std::string_view cost, std::int64_t micros);

}  // namespace tempodial

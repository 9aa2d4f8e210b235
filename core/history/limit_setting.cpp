#include "core/history/limit_setting.h"

namespace tempodial {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The value of a run of digits, or nullopt past `most`.
std::optional<std::int64_t> digitsValue(std::string_view digits, std::int64_t most) {
  if (digits.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : digits) {
    if (!isDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > most) return std::nullopt;
  }
  return value;
}

}  // namespace

LimitSetting readLimitSetting(LimitKind kind, std::string_view text) {
  const LimitSetting ignored{LimitSetting::State::Ignored, 0};
  if (text.empty()) return {};
  const bool time = kind == LimitKind::DayTime || kind == LimitKind::MonthTime;
  const std::size_t point = text.find('.');
  if (time && point != std::string_view::npos) return ignored;
  // Whole units, then hundredths.
  const auto units =
      digitsValue(text.substr(0, point), time ? kMostLimitSeconds : kMostLimitAmount);
  if (!units) return ignored;
  std::int64_t hundredths = 0;
  if (point != std::string_view::npos) {
    const std::string_view decimals = text.substr(point + 1);
    if (decimals.empty() || decimals.size() > 2) return ignored;
    const auto value = digitsValue(decimals, 99);
    if (!value) return ignored;
    hundredths = *value * (decimals.size() == 1 ? 10 : 1);
  }
  if (*units == kMostLimitAmount && hundredths > 0) return ignored;
  if (*units == 0 && hundredths == 0) return {};
  return {LimitSetting::State::Limit, static_cast<double>(*units) + hundredths / 100.0};
}

}  // namespace tempodial

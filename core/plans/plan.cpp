#include "core/plans/plan.h"

#include <algorithm>

namespace tempodial::plans {
namespace {

// Whole number and places of an amount of `scale` units, trailing zeros of
// the places dropped down to `keep` places.
std::string decimalText(Amount amount, Amount scale, int places, int keep) {
  std::string text = std::to_string(amount / scale);
  std::string fraction = std::to_string(amount % scale);
  fraction.insert(0, static_cast<std::size_t>(places) - fraction.size(), '0');
  while (static_cast<int>(fraction.size()) > keep && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += "." + fraction;
  return text;
}

bool timeMatches(const Rule& rule, int minute) {
  if (!rule.fromMin || !rule.toMin) return true;
  const int from = *rule.fromMin;
  const int to = *rule.toMin;
  if (from < to) return minute >= from && minute < to;
  return minute >= from || minute < to;
}

}  // namespace

bool ruleMatches(const Rule& rule, const LocalTime& local) {
  if (rule.days != 0 && (rule.days & (1u << local.weekday)) == 0) return false;
  if (!rule.dates.empty() && std::find(rule.dates.begin(), rule.dates.end(),
                                       local.month * 100 + local.day) == rule.dates.end()) {
    return false;
  }
  return timeMatches(rule, local.seconds / 60);
}

std::optional<std::size_t> ruleInForce(const Plan& plan, const LocalTime& local) {
  for (std::size_t i = 0; i < plan.rules.size(); ++i) {
    if (ruleMatches(plan.rules[i], local)) return i;
  }
  return std::nullopt;
}

std::optional<Amount> parseMinorUnits(std::string_view text) {
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view places =
      point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
  if (whole.empty() || whole.size() > 6 || places.size() > 4) return std::nullopt;
  if (point != std::string_view::npos && places.empty()) return std::nullopt;
  Amount value = 0;
  for (char c : whole) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  Amount fraction = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const char c = i < places.size() ? places[i] : '0';
    if (c < '0' || c > '9') return std::nullopt;
    fraction = fraction * 10 + (c - '0');
  }
  return value * kPerMinorUnit + fraction;
}

std::string minorUnitsText(Amount amount) { return decimalText(amount, kPerMinorUnit, 4, 0); }

std::string currencyText(Amount amount) {
  const bool negative = amount < 0;
  const std::string text = decimalText(negative ? -amount : amount, 1000000, 6, 2);
  return negative ? "-" + text : text;
}

std::string_view minorUnitSign(std::string_view currency) { return currency == "£" ? "p" : "c"; }

}  // namespace tempodial::plans

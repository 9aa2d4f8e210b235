#include "core/plans/plan.h"

#include <algorithm>

#include "core/values/fixed_point.h"

namespace tempodial::plans {
namespace {

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

std::optional<Amount> parseMinorUnits(std::string_view text) { return parseFixedPoint(text, 6, 4); }

std::string minorUnitsText(Amount amount) { return fixedPointText(amount, 4); }

std::string currencyText(Amount amount) {
  const bool negative = amount < 0;
  const std::string text = fixedPointText(negative ? -amount : amount, 6, 2);
  return negative ? "-" + text : text;
}

std::string_view minorUnitSign(std::string_view currency) { return currency == "£" ? "p" : "c"; }

}  // namespace tempodial::plans

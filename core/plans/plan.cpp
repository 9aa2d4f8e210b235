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

bool ruleMatchesDay(const Rule& rule, const LocalTime& local) {
  if (rule.days != 0 && (rule.days & (1u << local.weekday)) == 0) return false;
  if (rule.dates.empty() && rule.ranges.empty()) return true;
  const RuleDate everyYear = local.month * 100 + local.day;
  const RuleDate once = local.year * 10000 + everyYear;
  const auto dayOf = [&](RuleDate date) { return date >= kDatedFrom ? once : everyYear; };
  for (RuleDate date : rule.dates) {
    if (date == dayOf(date)) return true;
  }
  for (const DateRange& range : rule.ranges) {
    const RuleDate day = dayOf(range.first);
    const bool within = range.first <= range.last
                            ? day >= range.first && day <= range.last
                            : day >= range.first || day <= range.last;  // across the year's end
    if (within) return true;
  }
  return false;
}

bool ruleMatches(const Rule& rule, const LocalTime& local) {
  return ruleMatchesDay(rule, local) && timeMatches(rule, local.seconds / 60);
}

std::string ruleDateText(RuleDate date) {
  const auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
  const std::string monthDay = two(date / 100 % 100) + "-" + two(date % 100);
  return date >= kDatedFrom ? std::to_string(date / 10000) + "-" + monthDay : monthDay;
}

std::optional<std::string> outsideValidity(const Plan& plan, const LocalTime& local) {
  const RuleDate day = local.year * 10000 + local.month * 100 + local.day;
  if (plan.validFrom && day < *plan.validFrom) {
    return "is valid from " + ruleDateText(*plan.validFrom);
  }
  if (plan.validUntil && day > *plan.validUntil) {
    return "was valid until " + ruleDateText(*plan.validUntil);
  }
  return std::nullopt;
}

std::optional<std::size_t> ruleInForce(const Plan& plan, const LocalTime& local) {
  for (std::size_t i = 0; i < plan.rules.size(); ++i) {
    if (ruleMatches(plan.rules[i], local)) return i;
  }
  return std::nullopt;
}

std::optional<Amount> parseMinorUnits(std::string_view text) { return parseFixedPoint(text, 6, 4); }

std::string amountFault(std::string_view text, std::string_view example) {
  const std::string quoted = "\"" + std::string(text) + "\"";
  // A decimal that is merely too large or too fine says so.
  const auto point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
  const auto digits = [](std::string_view part) {
    return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (!whole.empty() && digits(whole) && digits(fraction) &&
      (point == std::string_view::npos || !fraction.empty())) {
    const auto significant = whole.find_first_not_of('0');
    if (significant != std::string_view::npos && whole.size() - significant > 6) {
      return quoted + " is out of range: at most " + kLargestAmountText;
    }
    if (whole.size() > 6) return quoted + " has more than 6 digits before the point";
    return quoted + " has more than 4 decimal places";
  }
  return quoted + " is not a number of minor units (like " + std::string(example) + ")";
}

std::string minorUnitsText(Amount amount) { return fixedPointText(amount, 4); }

std::string currencyText(Amount amount) {
  const bool negative = amount < 0;
  const std::string text = fixedPointText(negative ? -amount : amount, 6, 2);
  return negative ? "-" + text : text;
}

std::string_view minorUnitSign(std::string_view currency) { return currency == "£" ? "p" : "c"; }

}  // namespace tempodial::plans

// A tariff plan: a default rate, rules that give other rates by day of the
// week, date and time of day, a connection charge, a charging step and a
// minimum. Every amount is exact: whole millionths of the currency unit
// (pounds, dollars), never binary floating point. A plan may also charge
// the run's data volume by the MB, beyond a monthly allowance where it has one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tempodial::plans {

// Millionths of the currency unit: 1 penny is 10000.
using Amount = std::int64_t;
inline constexpr Amount kPerMinorUnit = 10000;

// A day of a rule's dates: month * 100 + day every year (1225), or
// year * 10000 + month * 100 + day once (20261228).
using RuleDate = int;
inline constexpr RuleDate kDatedFrom = 10000;  // a date at or above it has a year
// Dates from `first` to `last`, both included, both of one form: a range of
// every year may run across the year's end (12-24..01-02).
struct DateRange {
  RuleDate first = 0, last = 0;
  bool operator==(const DateRange&) const = default;
};

// One rule: it applies to a moment whose weekday, date and time of day all
// match. An empty day set and date list and an absent time window match all.
struct Rule {
  std::string name;               // shown when the rate changes; may be empty
  unsigned days = 0;              // bit 0 Monday .. bit 6 Sunday; 0 = every day
  std::vector<RuleDate> dates;    // single days
  std::vector<DateRange> ranges;  // and ranges of days, both matched
  std::optional<int> fromMin;     // minutes after midnight; from > to runs
  std::optional<int> toMin;       //   across midnight; 0 to 1440 is the whole day
  Amount rate = 0;                // per minute
  int line = 0;                   // the line of its section in the file
};

struct Plan {
  std::string name;
  std::string currency = "£";
  Amount connection = 0;  // charged when the clock starts
  Amount minimum = 0;     // a run costs at least this much
  int step = 60;          // seconds; a started step is charged in full
  Amount rate = 0;        // per minute where no rule applies
  Amount perMb = 0;       // per MB (1,000,000 bytes) received or sent
  // Bytes a billing month includes: per_mb is charged only beyond them, and
  // the user is warned as they run out. None: every MB is charged.
  std::optional<std::int64_t> allowanceBytes;
  // The first and last day a run may start under the plan (year * 10000 +
  // month * 100 + day); none: no such bound.
  std::optional<RuleDate> validFrom, validUntil;
  std::vector<Rule> rules;
};

// The local calendar time of one moment, as the platform's time zone gives it.
struct LocalTime {
  int year = 1970, month = 1, day = 1;
  int weekday = 0;  // 0 Monday .. 6 Sunday
  int seconds = 0;  // since local midnight
};

// Whether `rule` applies on the day of `local`, whatever its time.
bool ruleMatchesDay(const Rule& rule, const LocalTime& local);
// Whether `rule` applies at `local`.
bool ruleMatches(const Rule& rule, const LocalTime& local);

// Why a run starting at `local` cannot be charged under `plan` ("is valid
// from 2027-01-01"), or nothing when it can.
std::optional<std::string> outsideValidity(const Plan& plan, const LocalTime& local);
// A date as a plan file writes it: "12-25", "2026-12-28".
std::string ruleDateText(RuleDate date);

// The index of the first rule that applies at `local`, or nothing when the
// default rate applies.
std::optional<std::size_t> ruleInForce(const Plan& plan, const LocalTime& local);

// The largest amount a plan file may give, and its text.
inline constexpr Amount kLargestAmount = 9999999999;
inline constexpr const char* kLargestAmountText = "999999.9999";

// Reads an exact decimal of minor units ("1.4", "0.05", "12"): at most six
// digits before the point and four after it, no sign, no exponent. Nothing
// for any other text.
std::optional<Amount> parseMinorUnits(std::string_view text);
// Why `text` is no amount: out of range ("is more than 999999.9999"), too
// fine, or no decimal at all; `example` is shown in the last case.
std::string amountFault(std::string_view text, std::string_view example);

// An amount of minor units as written in a plan: "1.4", "0.5", "12".
std::string minorUnitsText(Amount amount);
// An amount of currency units: at least two places, more only where they
// are not zero ("0.44", "0.0233", "12.00").
std::string currencyText(Amount amount);
// The minor unit's short name for a currency symbol: "p" for "£", else "c".
std::string_view minorUnitSign(std::string_view currency);

}  // namespace tempodial::plans

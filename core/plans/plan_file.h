// A plan file's text, read and written: UTF-8 text, an INI file with one
// [plan] section (name, currency, connection, minimum, step, rate, per_mb,
// allowance_mb, valid_from, valid_until) and one section per rule, [rule1], [rule2]...
// (name, days, dates, from, to, rate), tried in the order they stand in the
// file. A ";" starts a comment, also after a value.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "core/plans/plan.h"

namespace tempodial::plans {

// What is wrong with a plan file, and where.
struct PlanError {
  int line = 0;     // 1-based; 0 when the fault is the file as a whole
  std::string key;  // the key at fault, or empty
  std::string what;
};

// "<file>, line <n>, key <key>: <what>" (the parts known).
std::string errorText(std::string_view file, const PlanError& error);

// Reads the text of a plan file. `fallbackName` names a plan whose file
// gives no name. Refuses text that is not UTF-8 or holds control characters,
// unknown sections and keys, repeated sections and keys, numbers that are
// not exact decimals or lie out of range, days, dates and times that cannot
// be read, a step outside 1-3600 s, a time window with only one end or with
// equal ends (but 00:00 to 24:00, the whole day), a rule without a rate and
// a file without a default rate.
std::variant<Plan, PlanError> readPlan(std::string_view text, std::string_view fallbackName);

// The text of a plan file that readPlan reads back as `plan`.
std::string planText(const Plan& plan);

// A rule's dates as a plan file writes them: "12-25,2026-12-28,12-24..01-02".
std::string datesText(const Rule& rule);

// Days as a plan file writes them ("mon-fri", "sat,sun"), and back.
std::string daysText(unsigned days);
std::optional<unsigned> parseDays(std::string_view text);
// Times of day ("18:00") as minutes after midnight, and back.
std::string timeText(int minutes);
std::optional<int> parseTime(std::string_view text);

}  // namespace tempodial::plans

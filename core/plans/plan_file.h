// A plan file's text, read and written: an INI file with a [plan] section
// (name, currency, connection, minimum, step, rate, per_mb) and one section
// per rule, [rule1], [rule2]... (name, days, dates, from, to, rate), tried in
// the order they stand in the file. A ";" starts a comment, also after a value.
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
// gives no name. Refuses unknown sections and keys, repeated keys, numbers
// that are not exact decimals, days, dates and times that cannot be read, a
// step outside 1-3600 s, a time window with only one end or with equal ends,
// and a file without a default rate.
std::variant<Plan, PlanError> readPlan(std::string_view text, std::string_view fallbackName);

// The text of a plan file that readPlan reads back as `plan`.
std::string planText(const Plan& plan);

// Days as a plan file writes them ("mon-fri", "sat,sun"), and back.
std::string daysText(unsigned days);
std::optional<unsigned> parseDays(std::string_view text);
// Times of day ("18:00") as minutes after midnight, and back.
std::string timeText(int minutes);
std::optional<int> parseTime(std::string_view text);

}  // namespace tempodial::plans

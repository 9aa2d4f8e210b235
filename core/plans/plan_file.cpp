#include "core/plans/plan_file.h"

#include <array>
#include <cstdint>
#include <set>

#include "core/volume/data_volume.h"

namespace tempodial::plans {
namespace {

constexpr std::array<std::string_view, 7> kDays{"mon", "tue", "wed", "thu", "fri", "sat", "sun"};

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// The value after "=": a quoted value keeps everything inside the quotes,
// otherwise a ";" ends it.
std::string valueOf(std::string_view raw) {
  raw = trimmed(raw);
  if (raw.size() >= 2 && raw.front() == '"') {
    const auto close = raw.find('"', 1);
    if (close != std::string_view::npos) return std::string(raw.substr(1, close - 1));
  }
  return std::string(trimmed(raw.substr(0, raw.find(';'))));
}

std::optional<int> dayIndex(std::string_view name) {
  for (std::size_t i = 0; i < kDays.size(); ++i) {
    if (kDays[i] == name) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::vector<std::string_view> listItems(std::string_view text) {
  std::vector<std::string_view> items;
  std::size_t begin = 0;
  while (true) {
    const auto comma = text.find(',', begin);
    items.push_back(trimmed(text.substr(begin, comma - begin)));
    if (comma == std::string_view::npos) return items;
    begin = comma + 1;
  }
}

std::optional<int> twoDigits(std::string_view text) {
  if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9') {
    return std::nullopt;
  }
  return (text[0] - '0') * 10 + (text[1] - '0');
}

// "12-25" (every year) or "2026-12-28" (once).
std::optional<RuleDate> parseDate(std::string_view text) {
  int year = 0;
  if (text.size() == 10 && text[4] == '-') {
    const auto high = twoDigits(text.substr(0, 2));
    const auto low = twoDigits(text.substr(2, 2));
    if (!high || !low || *high == 0) return std::nullopt;
    year = *high * 100 + *low;
    text.remove_prefix(5);
  }
  if (text.size() != 5 || text[2] != '-') return std::nullopt;
  const auto month = twoDigits(text.substr(0, 2));
  const auto day = twoDigits(text.substr(3, 2));
  static constexpr std::array<int, 12> kLongest{31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (!month || !day || *month < 1 || *month > 12) return std::nullopt;
  if (*day < 1 || *day > kLongest[static_cast<std::size_t>(*month - 1)]) return std::nullopt;
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  if (year != 0 && *month == 2 && *day == 29 && !leap) return std::nullopt;
  return year * 10000 + *month * 100 + *day;
}

// Where `line` stops being UTF-8 text or holds a control character (any but
// the tab: C0, DEL, and C1 from U+0080 to U+009F, which a terminal obeys as
// it would a carriage return): the offending byte or character, or nothing
// for a sound line.
std::optional<std::string> textFault(std::string_view line) {
  const auto hex = [](unsigned char byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string("0x") + kDigits[byte >> 4] + kDigits[byte & 15];
  };
  for (std::size_t i = 0; i < line.size();) {
    const auto byte = static_cast<unsigned char>(line[i]);
    if ((byte < 0x20 && byte != '\t') || byte == 0x7F) return "holds the control byte " + hex(byte);
    if (byte < 0x80) {
      ++i;
      continue;
    }
    // The length of the sequence and the least value it may encode.
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 0;
    bool sound = length != 0 && byte < 0xF5 && i + length <= line.size();
    std::uint32_t code = sound ? byte & (0x7Fu >> length) : 0;
    for (std::size_t k = 1; sound && k < length; ++k) {
      const auto next = static_cast<unsigned char>(line[i + k]);
      sound = (next & 0xC0) == 0x80;
      code = code << 6 | (next & 0x3Fu);
    }
    static constexpr std::array<std::uint32_t, 5> kLeast{0, 0, 0x80, 0x800, 0x10000};
    if (!sound || code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) {
      return "is not UTF-8 text (byte " + hex(byte) + ")";
    }
    if (code >= 0x80 && code <= 0x9F) {
      return "holds the control character U+00" + hex(static_cast<unsigned char>(code)).substr(2);
    }
    i += length;
  }
  return std::nullopt;
}

// A whole number of 1 to 4 digits with nothing else, or nothing.
std::optional<int> smallNumber(std::string_view text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// Reads one line of the file into the plan or its rule.
class Reader {
 public:
  explicit Reader(Plan& plan) : plan_(plan) {}

  std::optional<PlanError> section(int line, std::string_view name) {
    keys_.clear();
    if (!sections_.insert(std::string(name)).second) {
      return PlanError{line, {}, "[" + std::string(name) + "] is given twice"};
    }
    if (name == "plan") {
      inPlan_ = true;
      sawPlan_ = true;
      return std::nullopt;
    }
    // A rule's section is "rule" and its number: [rule1], [rule2]...
    if (name.size() < 5 || name.size() > 13 || name.substr(0, 4) != "rule" ||
        name.find_first_not_of("0123456789", 4) != std::string_view::npos) {
      return PlanError{line,
                       {},
                       "unknown section [" + std::string(name) +
                           "]: a plan file has [plan] and rules [rule1], [rule2]..."};
    }
    inPlan_ = false;
    plan_.rules.emplace_back();
    plan_.rules.back().line = line;
    ruleRates_.push_back(false);
    return std::nullopt;
  }

  std::optional<PlanError> key(int line, const std::string& key, const std::string& value) {
    const auto fail = [&](std::string what) { return PlanError{line, key, std::move(what)}; };
    if (inPlan_ && key == "valid_until") validUntilLine_ = line;
    if (!inPlan_ && plan_.rules.empty()) return fail("stands before any section");
    if (!keys_.insert(key).second) return fail("is given twice");
    if (key == "rate") {
      const auto rate = parseMinorUnits(value);
      if (!rate) return fail(amountFault(value, "1.4"));
      (inPlan_ ? plan_.rate : plan_.rules.back().rate) = *rate;
      if (inPlan_) {
        sawRate_ = true;
      } else {
        ruleRates_.back() = true;
      }
      return std::nullopt;
    }
    if (key == "name") {
      (inPlan_ ? plan_.name : plan_.rules.back().name) = value;
      return std::nullopt;
    }
    return inPlan_ ? planKey(key, value, fail) : ruleKey(key, value, fail);
  }

  std::optional<PlanError> finish() {
    if (!sawPlan_) return PlanError{0, {}, "has no [plan] section"};
    if (!sawRate_) return PlanError{0, "rate", "the [plan] section gives no default rate"};
    if (plan_.validFrom && plan_.validUntil && *plan_.validUntil < *plan_.validFrom) {
      return PlanError{validUntilLine_, "valid_until", "comes before valid_from"};
    }
    for (std::size_t i = 0; i < plan_.rules.size(); ++i) {
      Rule& rule = plan_.rules[i];
      if (rule.fromMin.has_value() != rule.toMin.has_value()) {
        return PlanError{rule.line, rule.fromMin ? "to" : "from",
                         "a time window needs both from and to"};
      }
      // 24:00 ends a window; it stands for midnight but where the window
      // starts at 00:00 and so holds the whole day.
      if (rule.fromMin && *rule.toMin == 1440 && *rule.fromMin != 0) rule.toMin = 0;
      if (rule.fromMin && *rule.fromMin == *rule.toMin) {
        return PlanError{rule.line, "to", "from and to are the same time"};
      }
      if (!ruleRates_[i]) return PlanError{rule.line, "rate", "the rule gives no rate"};
    }
    return std::nullopt;
  }

 private:
  template <typename Fail>
  std::optional<PlanError> planKey(const std::string& key, const std::string& value, Fail fail) {
    if (key == "currency") {
      if (value.empty()) return fail("is empty");
      plan_.currency = value;
    } else if (key == "connection" || key == "minimum" || key == "per_mb") {
      const auto amount = parseMinorUnits(value);
      if (!amount) return fail(amountFault(value, "5"));
      (key == "connection" ? plan_.connection
       : key == "minimum"  ? plan_.minimum
                           : plan_.perMb) = *amount;
    } else if (key == "allowance_mb") {
      const auto bytes = parseMegabytes(value);
      if (!bytes) return fail("\"" + value + "\" is not a number of MB (like 20000 or 12.5)");
      plan_.allowanceBytes = *bytes;
    } else if (key == "step") {
      const auto step = smallNumber(value);
      if (!step || *step < 1 || *step > 3600) {
        return fail("must be 1 to 3600 seconds");
      }
      plan_.step = *step;
    } else if (key == "valid_from" || key == "valid_until") {
      const auto date = parseDate(value);
      if (!date || *date < kDatedFrom) {
        return fail("\"" + value + "\" is not a date with its year (like 2027-01-31)");
      }
      (key == "valid_from" ? plan_.validFrom : plan_.validUntil) = *date;
    } else {
      return fail("is not a key of [plan]");
    }
    return std::nullopt;
  }

  template <typename Fail>
  std::optional<PlanError> ruleKey(const std::string& key, const std::string& value, Fail fail) {
    Rule& rule = plan_.rules.back();
    if (key == "days") {
      const auto days = parseDays(value);
      if (!days) return fail("\"" + value + "\" is not a list of days (like mon-fri or sat,sun)");
      rule.days = *days;
    } else if (key == "dates") {
      for (std::string_view item : listItems(value)) {
        const auto dots = item.find("..");
        const auto first = parseDate(trimmed(item.substr(0, dots)));
        const auto last =
            dots == std::string_view::npos ? first : parseDate(trimmed(item.substr(dots + 2)));
        if (!first || !last) {
          return fail("\"" + std::string(item) +
                      "\" is not a date (like 12-25 or 2026-12-28) or a range of dates (like "
                      "12-24..01-02)");
        }
        if ((*first >= kDatedFrom) != (*last >= kDatedFrom)) {
          return fail("\"" + std::string(item) + "\" gives a year at one end only");
        }
        if (*first >= kDatedFrom && *last < *first) {
          return fail("\"" + std::string(item) + "\" ends before it starts");
        }
        if (dots == std::string_view::npos) {
          rule.dates.push_back(*first);
        } else {
          rule.ranges.push_back({*first, *last});
        }
      }
    } else if (key == "from" || key == "to") {
      const auto minutes = parseTime(value);
      if (!minutes || (key == "from" && *minutes == 1440)) {
        return fail("\"" + value + "\" is not a time of day (like 18:00)");
      }
      (key == "from" ? rule.fromMin : rule.toMin) = *minutes;
    } else {
      return fail("is not a key of a rule");
    }
    return std::nullopt;
  }

  Plan& plan_;
  std::set<std::string> keys_;
  std::set<std::string> sections_;
  std::vector<bool> ruleRates_;  // whether each rule gave its rate
  bool inPlan_ = false, sawPlan_ = false, sawRate_ = false;
  int validUntilLine_ = 0;
};

}  // namespace

std::string errorText(std::string_view file, const PlanError& error) {
  std::string text(file);
  if (error.line > 0) text += ", line " + std::to_string(error.line);
  if (!error.key.empty()) text += ", key " + error.key;
  return text + ": " + error.what;
}

std::string datesText(const Rule& rule) {
  std::string text;
  for (RuleDate date : rule.dates) text += (text.empty() ? "" : ",") + ruleDateText(date);
  for (const DateRange& range : rule.ranges) {
    text += (text.empty() ? "" : ",") + ruleDateText(range.first) + ".." + ruleDateText(range.last);
  }
  return text;
}

std::optional<unsigned> parseDays(std::string_view text) {
  unsigned days = 0;
  for (std::string_view item : listItems(text)) {
    const auto dash = item.find('-');
    const auto first = dayIndex(trimmed(item.substr(0, dash)));
    const auto last =
        dash == std::string_view::npos ? first : dayIndex(trimmed(item.substr(dash + 1)));
    if (!first || !last) return std::nullopt;
    // A range may run across the week's end: fri-mon.
    for (int day = *first;; day = (day + 1) % 7) {
      days |= 1u << day;
      if (day == *last) break;
    }
  }
  return days;
}

std::string daysText(unsigned days) {
  std::string text;
  for (int day = 0; day < 7;) {
    if ((days & (1u << day)) == 0) {
      ++day;
      continue;
    }
    int last = day;
    while (last + 1 < 7 && (days & (1u << (last + 1))) != 0) ++last;
    if (!text.empty()) text += ",";
    text += kDays[static_cast<std::size_t>(day)];
    if (last > day)
      text += std::string(last == day + 1 ? "," : "-") +
              std::string(kDays[static_cast<std::size_t>(last)]);
    day = last + 1;
  }
  return text;
}

std::optional<int> parseTime(std::string_view text) {
  if (text.size() != 5 || text[2] != ':') return std::nullopt;
  const auto hours = twoDigits(text.substr(0, 2));
  const auto minutes = twoDigits(text.substr(3, 2));
  if (!hours || !minutes || *minutes > 59) return std::nullopt;
  if (*hours > 24 || (*hours == 24 && *minutes != 0)) return std::nullopt;
  return *hours * 60 + *minutes;
}

std::string timeText(int minutes) {
  const auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
  return two(minutes / 60) + ":" + two(minutes % 60);
}

std::variant<Plan, PlanError> readPlan(std::string_view text, std::string_view fallbackName) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Plan plan;
  Reader reader(plan);
  int number = 0;
  for (std::size_t begin = 0; begin <= text.size(); ++number) {
    const auto end = text.find('\n', begin);
    const std::string_view line = trimmed(text.substr(begin, end - begin));
    begin = end == std::string_view::npos ? text.size() + 1 : end + 1;
    if (auto fault = textFault(line)) {
      // Named by its key where the key itself is sound text.
      const auto equals = line.find('=');
      std::string key(trimmed(line.substr(0, equals)));
      if (equals == std::string_view::npos || line[0] == '[' || textFault(key)) key.clear();
      return PlanError{number + 1, key, *fault};
    }
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    std::optional<PlanError> error;
    if (line[0] == '[') {
      const auto close = line.find(']');
      if (close == std::string_view::npos)
        return PlanError{number + 1, {}, "a section name lacks its ]"};
      error = reader.section(number + 1, trimmed(line.substr(1, close - 1)));
    } else {
      const auto equals = line.find('=');
      if (equals == std::string_view::npos) return PlanError{number + 1, {}, "is not key=value"};
      error = reader.key(number + 1, std::string(trimmed(line.substr(0, equals))),
                         valueOf(line.substr(equals + 1)));
    }
    if (error) return *error;
  }
  if (auto error = reader.finish()) return *error;
  if (plan.name.empty()) plan.name = std::string(fallbackName);
  return plan;
}

std::string planText(const Plan& plan) {
  const auto quoted = [](const std::string& value) {
    return value.find(';') != std::string::npos || value != std::string(trimmed(value))
               ? "\"" + value + "\""
               : value;
  };
  std::string text = "[plan]\nname=" + quoted(plan.name) + "\ncurrency=" + quoted(plan.currency) +
                     "\nconnection=" + minorUnitsText(plan.connection) +
                     "\nminimum=" + minorUnitsText(plan.minimum) +
                     "\nstep=" + std::to_string(plan.step) + "\nrate=" + minorUnitsText(plan.rate) +
                     "\n";
  if (plan.perMb != 0) text += "per_mb=" + minorUnitsText(plan.perMb) + "\n";
  if (plan.allowanceBytes) text += "allowance_mb=" + megabytesText(*plan.allowanceBytes) + "\n";
  if (plan.validFrom) text += "valid_from=" + ruleDateText(*plan.validFrom) + "\n";
  if (plan.validUntil) text += "valid_until=" + ruleDateText(*plan.validUntil) + "\n";
  for (std::size_t i = 0; i < plan.rules.size(); ++i) {
    const Rule& rule = plan.rules[i];
    text += "\n[rule" + std::to_string(i + 1) + "]\n";
    if (!rule.name.empty()) text += "name=" + quoted(rule.name) + "\n";
    if (rule.days != 0) text += "days=" + daysText(rule.days) + "\n";
    if (!rule.dates.empty() || !rule.ranges.empty()) text += "dates=" + datesText(rule) + "\n";
    if (rule.fromMin && rule.toMin) {
      text += "from=" + timeText(*rule.fromMin) + "\nto=" + timeText(*rule.toMin) + "\n";
    }
    text += "rate=" + minorUnitsText(rule.rate) + "\n";
  }
  return text;
}

}  // namespace tempodial::plans

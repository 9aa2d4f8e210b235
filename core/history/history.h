// The rules of the usage history: how long and how much one session was, how
// amounts of different currencies are kept apart, on which day a session
// counts, and how the history is written as CSV text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/money/amount.h"

namespace tempodial {

// Whole seconds as h:mm:ss: 3909 is "1:05:09", 90000 is "25:00:00".
// Negative seconds are written as 0:00:00.
std::string durationText(std::int64_t seconds);

// What one session cost: its cost box's text at the end minus the text at the
// start, each read exactly as the cost box reads numbers. When the difference
// is negative (the cost box was reset or typed over during the run) nothing is
// known of what the run cost, and it counts as 0.
Amount sessionCost(std::string_view costStart, std::string_view costEnd);

// An amount with its currency symbol: "£0.924", "$12"; a symbol of more than
// one character stands apart: "Fr 3.5". No symbol: the amount alone.
std::string amountText(std::string_view currency, Amount amount);

// Sums of amounts per currency symbol, in the order each symbol first came.
// Amounts of different currencies are never added together.
class CurrencyTotals {
 public:
  struct Sum {
    std::string currency;
    Amount amount;
  };
  void add(std::string_view currency, Amount amount);
  void add(const CurrencyTotals& other);
  const std::vector<Sum>& sums() const { return sums_; }
  // The amount in `currency`; 0 when there is none.
  Amount amountIn(std::string_view currency) const;
  // "£1.5 + Fr 3"; "0" when empty.
  std::string text() const;

 private:
  std::vector<Sum> sums_;
};

// A day of the calendar; earlier days compare less.
struct CivilDate {
  int year = 1970;
  int month = 1;  // 1 to 12
  int day = 1;    // 1 to 31
  friend auto operator<=>(const CivilDate&, const CivilDate&) = default;
};

// The local date of the moment `utcSeconds` (since 1970) at `utcOffset`
// seconds east of UTC. A session counts on this date of its start, however
// long it runs.
CivilDate localDate(std::int64_t utcSeconds, int utcOffset);
// Seconds since 1970 of midnight UTC at the start of `date`.
std::int64_t daysFromCivil(const CivilDate& date);
// "2026-12-07".
std::string dateText(const CivilDate& date);
// "2026-12-07T23:59:30+01:00": the local time of the moment with its offset.
std::string isoLocalTime(std::int64_t utcSeconds, int utcOffset);

// One field of a CSV record (RFC 4180): quoted, with quotes doubled, when it
// holds a comma, a quote, a carriage return or a line feed (or starts or
// ends with a blank, which some readers would drop).
std::string csvField(std::string_view text);
// Appends the fields as one record ending in CR LF.
void appendCsvRecord(std::string& out, const std::vector<std::string_view>& fields);

}  // namespace tempodial

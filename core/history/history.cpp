#include "core/history/history.h"

#include <cstdio>

namespace tempodial {

std::string durationText(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02d:%02d", static_cast<long long>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return text;
}

Amount sessionCost(std::string_view costStart, std::string_view costEnd) {
  const Amount cost = Amount::fromText(costEnd) - Amount::fromText(costStart);
  return cost > Amount{} ? cost : Amount{};
}

namespace {

// Code points in a UTF-8 text.
std::size_t characters(std::string_view text) {
  std::size_t count = 0;
  for (unsigned char c : text) count += (c & 0xC0) != 0x80;
  return count;
}

}  // namespace

std::string amountText(std::string_view currency, Amount amount) {
  std::string text(currency);
  if (characters(currency) > 1) text += ' ';
  return text + amount.text();
}

void CurrencyTotals::add(std::string_view currency, Amount amount) {
  for (Sum& sum : sums_) {
    if (sum.currency == currency) {
      sum.amount += amount;
      return;
    }
  }
  sums_.push_back({std::string(currency), amount});
}

void CurrencyTotals::add(const CurrencyTotals& other) {
  for (const Sum& sum : other.sums_) add(sum.currency, sum.amount);
}

Amount CurrencyTotals::amountIn(std::string_view currency) const {
  for (const Sum& sum : sums_) {
    if (sum.currency == currency) return sum.amount;
  }
  return {};
}

std::string CurrencyTotals::text() const {
  if (sums_.empty()) return "0";
  std::string text;
  for (const Sum& sum : sums_) {
    if (!text.empty()) text += " + ";
    text += amountText(sum.currency, sum.amount);
  }
  return text;
}

namespace {

constexpr std::int64_t kDay = 86400;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Howard Hinnant's days-from-civil and civil-from-days.
CivilDate civilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = floorDiv(days, 146097);
  const auto doe = static_cast<unsigned>(days - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned day = doy - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t year = static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2);
  return {static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
}

}  // namespace

std::int64_t daysFromCivil(const CivilDate& date) {
  const std::int64_t year = date.year - (date.month <= 2);
  const std::int64_t era = floorDiv(year, 400);
  const auto yoe = static_cast<unsigned>(year - era * 400);
  const unsigned mp = static_cast<unsigned>(date.month + (date.month > 2 ? -3 : 9));
  const unsigned doy = (153 * mp + 2) / 5 + static_cast<unsigned>(date.day) - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return (era * 146097 + static_cast<std::int64_t>(doe) - 719468) * kDay;
}

CivilDate localDate(std::int64_t utcSeconds, int utcOffset) {
  return civilFromDays(floorDiv(utcSeconds + utcOffset, kDay));
}

std::string dateText(const CivilDate& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

std::string isoLocalTime(std::int64_t utcSeconds, int utcOffset) {
  const std::int64_t local = utcSeconds + utcOffset;
  const CivilDate date = civilFromDays(floorDiv(local, kDay));
  const auto inDay = static_cast<int>(local - floorDiv(local, kDay) * kDay);
  const int offset = utcOffset < 0 ? -utcOffset : utcOffset;
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", date.year,
                date.month, date.day, inDay / 3600, inDay / 60 % 60, inDay % 60,
                utcOffset < 0 ? '-' : '+', offset / 3600, offset / 60 % 60);
  return text;
}

std::string csvField(std::string_view text) {
  const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) return std::string(text);
  std::string field = "\"";
  for (char c : text) {
    if (c == '"') field += '"';
    field += c;
  }
  return field + '"';
}

void appendCsvRecord(std::string& out, const std::vector<std::string_view>& fields) {
  bool first = true;
  for (std::string_view field : fields) {
    if (!first) out += ',';
    first = false;
    out += csvField(field);
  }
  out += "\r\n";
}

}  // namespace tempodial

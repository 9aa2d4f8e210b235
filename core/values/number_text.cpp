// Numbers as text. Reading collects the accepted characters of the leading
// number into a buffer and converts it with std::from_chars; writing uses
// std::to_chars. Neither looks at the process locale.
//
// Choices the header leaves open:
// - A number too large for a double ("1e999") reads as the largest finite
//   double with its sign; one too small ("1e-999") reads as zero.
// - NaN is written as "0"; an infinity is written like the largest finite
//   double with its sign ("1.79769313486232E+308"), which reads back as that
//   double, so written numbers always read back.
// - Large and tiny magnitudes are written with an exponent the way the classic
//   runtime does: "1E+20", "1E-05".
#include "core/values/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace tempodial {
namespace {

// A line feed is a box's line break (and a document's paragraph mark): it ends
// the number as a carriage return does, so it is not skipped.
bool isSkipped(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Position of the next character at or after `i` that is not skipped.
std::size_t nextKept(std::string_view text, std::size_t i) {
  while (i < text.size() && isSkipped(text[i])) ++i;
  return i;
}

}  // namespace

NumberParts numberParts(std::string_view text) {
  NumberParts parts;
  std::string& mantissa = parts.mantissa;  // digits and at most one full stop, no sign
  bool seenPoint = false;
  bool seenDigit = false;

  std::size_t i = nextKept(text, 0);
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    parts.negative = text[i] == '-';
    i = nextKept(text, i + 1);
  }
  for (; i < text.size(); i = nextKept(text, i + 1)) {
    const char c = text[i];
    if (isDigit(c)) {
      seenDigit = true;
      mantissa.push_back(c);
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
      mantissa.push_back(c);
    } else {
      break;
    }
  }
  if (!seenDigit) return {};

  // The exponent counts only when digits follow the e and its sign.
  long long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = nextKept(text, i + 1);
    bool exponentNegative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      exponentNegative = text[j] == '-';
      j = nextKept(text, j + 1);
    }
    if (j < text.size() && isDigit(text[j])) {
      for (; j < text.size() && isDigit(text[j]); j = nextKept(text, j + 1)) {
        // Saturates: anything this far out is out of range either way.
        if (exponent < 100'000'000) exponent = exponent * 10 + (text[j] - '0');
      }
      if (exponentNegative) exponent = -exponent;
    }
  }
  parts.exponent = exponent;
  return parts;
}

double readNumber(std::string_view text) {
  const NumberParts parts = numberParts(text);
  const std::string& mantissa = parts.mantissa;
  const bool negative = parts.negative;
  const long long exponent = parts.exponent;
  if (mantissa.empty()) return 0.0;
  // Decimal magnitude of the mantissa, to tell overflow from underflow:
  // significant digits before the point, less zeros right after it.
  long long magnitude = 0;
  bool seenPoint = false;
  bool seenSignificant = false;
  for (char c : mantissa) {
    if (c == '.') {
      seenPoint = true;
      continue;
    }
    if (c != '0') seenSignificant = true;
    if (!seenPoint && seenSignificant) ++magnitude;
    if (seenPoint && !seenSignificant) --magnitude;
  }

  std::string buffer;
  buffer.reserve(mantissa.size() + 16);
  if (mantissa.front() == '.') buffer.push_back('0');
  buffer += mantissa;
  if (buffer.back() == '.') buffer.pop_back();
  if (exponent != 0) {
    buffer.push_back('e');
    buffer += std::to_string(exponent);
  }

  double value = 0.0;
  const auto [end, error] = std::from_chars(buffer.data(), buffer.data() + buffer.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    value = magnitude + exponent > 0 ? std::numeric_limits<double>::max() : 0.0;
  } else if (error != std::errc{}) {
    value = 0.0;
  }
  return negative ? -value : value;
}

std::string writeNumber(double value) {
  if (std::isnan(value) || value == 0.0) return "0";
  if (std::isinf(value)) {
    value = std::copysign(std::numeric_limits<double>::max(), value);
  }
  std::array<char, 64> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          std::chars_format::general, 15);
  if (error != std::errc{}) return "0";
  std::string text(buffer.data(), end);
  for (char& c : text) {
    if (c == 'e') c = 'E';
  }
  return text;
}

}  // namespace tempodial

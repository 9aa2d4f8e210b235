// Numbers held as text: the counters, the cost and the rates live in boxes as
// text, read leniently and written in the shortest decimal form.
#pragma once

#include <string>
#include <string_view>

namespace tempodial {

// Reads the leading number of `text`. Blanks and tabs are skipped wherever they
// stand (" 1 2" reads 12); an optional sign, digits, an optional full stop with
// digits and an optional exponent are read; reading stops at the first other
// character ("12abc" is 12, "1,5" is 1), a line break included: a line feed (a
// box's line break, a document's paragraph mark) ends the number as a carriage
// return does ("2\n5" is 2). A text without a leading number reads as 0.
// Independent of the process locale.
double readNumber(std::string_view text);

// The leading number of `text` as readNumber finds it, taken apart without
// converting it: its sign, its digits with at most one full stop, and its
// exponent. " -1 .5e2x" is {true, "1.5", 2}; no number is {false, "", 0}.
struct NumberParts {
  bool negative = false;
  std::string mantissa;
  long long exponent = 0;
};
NumberParts numberParts(std::string_view text);

// Writes `value` in the shortest general decimal form with at most 15
// significant digits and a full stop as decimal point: 0, 7, 61, 0.014, 2.5;
// 0.1 + 0.2 is written as 0.3. Independent of the process locale.
std::string writeNumber(double value);

}  // namespace tempodial

// Exact amounts: read by the cost box's number rules, summed and written
// without the noise of binary fractions.
#include "core/money/amount.h"

#include <gtest/gtest.h>

#include "core/history/history.h"
#include "core/history/limits.h"
#include "core/values/number_text.h"

namespace tempodial {
namespace {

TEST(Amount, ReadsTheCostBoxTextsExactlyAndWritesThemBack) {
  struct Case {
    const char* text;
    std::int64_t micros;
    const char* written;
  };
  // Where reading stops (blanks, commas, letters, line feeds) is the cost box's
  // own scanner, read in number_text_test.cpp.
  const Case cases[] = {
      {"0.014", 14000, "0.014"},
      {"0.0140000000000011", 14000, "0.014"},  // noise below a millionth is dropped
      {"0.279999999999999", 280000, "0.28"},
      {"30962.005999947", 30962006000, "30962.006"},
      {"-2.25abc", -2250000, "-2.25"},
      {"1.5e2", 150000000, "150"},
      {"25E-3", 25000, "0.025"},
      {".5", 500000, "0.5"},
      {"0.0000005", 1, "0.000001"},  // half a millionth rounds away from zero
      {"0.00000049", 0, "0"},
      {"-0.0000005", -1, "-0.000001"},
      {"1e999", 9223372036854775807, "9223372036854.775807"},  // saturates
      {"1e-999", 0, "0"},
      {"0e99999", 0, "0"},
  };
  for (const Case& c : cases) {
    const Amount amount = Amount::fromText(c.text);
    EXPECT_EQ(amount.micros, c.micros) << c.text;
    EXPECT_EQ(amount.text(), c.written) << c.text;
  }
  EXPECT_EQ(Amount::fromDouble(0.1).micros, 100000);
  EXPECT_EQ(Amount::fromDouble(10.0).micros, 10000000);
}

TEST(Amount, SumsAreExact) {
  // Twenty sessions of 0.014 on a cost box that counts up in binary fractions.
  CurrencyTotals totals;
  double box = 0;
  for (int i = 0; i < 20; ++i) {
    const std::string start = writeNumber(box);
    box += 0.014;
    totals.add("£", sessionCost(start, writeNumber(box)));
  }
  EXPECT_EQ(totals.text(), "£0.28");

  // A cost limit of 0.28 is reached by exactly 0.28, and 80 % of it by 0.224.
  Limits limits;
  limits.dayCost = 0.28;
  Usage usage{"2026-12-07", "2026-12", 0, 0, Amount::fromText("0.223999"), {}};
  LimitWatch watch;
  EXPECT_TRUE(watch.check(usage, limits).empty());
  usage.dayCost = Amount::fromText("0.224");
  EXPECT_EQ(watch.check(usage, limits), (std::vector<LimitWarning>{{LimitKind::DayCost, 80}}));
  usage.dayCost = totals.amountIn("£");
  EXPECT_EQ(watch.check(usage, limits), (std::vector<LimitWarning>{{LimitKind::DayCost, 100}}));
}

}  // namespace
}  // namespace tempodial

// What is left of a data allowance as the status icon says it, and its warnings.
#include "core/history/allowance.h"

#include <gtest/gtest.h>

namespace tempodial {
namespace {

TEST(Allowance, LeftIsWrittenInTheAllowancesUnitWhileItHoldsOneOfIt) {
  constexpr std::int64_t GB = 1'000'000'000;
  struct Case {
    std::int64_t used, allowance;
    CivilDate resets;
    const char* text;
  };
  const Case cases[] = {
      {7'700'000'000, 20 * GB, {2027, 1, 15}, "12.3 of 20 GB left until 15 Jan"},
      {0, 20 * GB, {2027, 1, 15}, "20 of 20 GB left until 15 Jan"},
      {19 * GB, 20 * GB, {2027, 2, 1}, "1 of 20 GB left until 1 Feb"},
      {19'650'000'000, 20 * GB, {2027, 2, 28}, "350 MB of 20 GB left until 28 Feb"},
      {20 * GB, 20 * GB, {2027, 1, 15}, "0 of 20 GB left until 15 Jan"},
      {25 * GB, 20 * GB, {2027, 1, 15}, "0 of 20 GB left until 15 Jan"},
      {250'000'000, 1'500'000'000, {2026, 12, 31}, "1.3 of 1.5 GB left until 31 Dec"},
      {100'000'000, 500'000'000, {2026, 12, 1}, "400 of 500 MB left until 1 Dec"},
      {GB - 10, GB, {2026, 12, 1}, "10 B of 1 GB left until 1 Dec"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(allowanceLeftText(c.used, c.allowance, c.resets), c.text) << c.used;
  }
  EXPECT_EQ(allowanceSizeText(16'050'000'000), "16.1 GB");
  EXPECT_EQ(allowanceSizeText(5), "5 B");
  EXPECT_EQ(allowanceWarningText(80), "80 % of this month's data allowance used");
}

}  // namespace
}  // namespace tempodial

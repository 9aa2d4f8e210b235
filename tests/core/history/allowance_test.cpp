// What is left of a data allowance as the status icon says it, and its warnings.
#include "core/history/allowance.h"

#include <gtest/gtest.h>

namespace tempodial {
namespace {

TEST(Allowance, LeftIsWrittenInTheAllowancesUnitWhileItHoldsOneOfIt) {
  struct Case {
    const char* name;
    std::int64_t used, allowance;
    CivilDate resets;
    const char* text;
  };
  const Case cases[] = {
      {"some used",
       7'700'000'000,
       20'000'000'000,
       {2027, 1, 15},
       "12.3 of 20 GB left until 15 Jan"},
      {"nothing used", 0, 20'000'000'000, {2027, 1, 15}, "20 of 20 GB left until 15 Jan"},
      {"a whole unit left",
       19'000'000'000,
       20'000'000'000,
       {2027, 2, 1},
       "1 of 20 GB left until 1 Feb"},
      {"less than a unit left",
       19'650'000'000,
       20'000'000'000,
       {2027, 2, 28},
       "350 MB of 20 GB left until 28 Feb"},
      {"exactly used",
       20'000'000'000,
       20'000'000'000,
       {2027, 1, 15},
       "0 of 20 GB left until 15 Jan"},
      {"beyond it", 25'000'000'000, 20'000'000'000, {2027, 1, 15}, "0 of 20 GB left until 15 Jan"},
      {"an allowance of a part of a unit",
       250'000'000,
       1'500'000'000,
       {2026, 12, 31},
       "1.3 of 1.5 GB left until 31 Dec"},
      {"in MB", 100'000'000, 500'000'000, {2026, 12, 1}, "400 of 500 MB left until 1 Dec"},
      {"a few bytes left",
       999'999'990,
       1'000'000'000,
       {2026, 12, 1},
       "10 B of 1 GB left until 1 Dec"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(allowanceLeftText(c.used, c.allowance, c.resets), c.text) << c.name;
  }
  EXPECT_EQ(allowanceSizeText(16'000'000'000), "16 GB");
  EXPECT_EQ(allowanceSizeText(16'050'000'000), "16.1 GB");
  EXPECT_EQ(allowanceSizeText(999), "999 B");
  EXPECT_EQ(allowanceWarningText(80), "80 % of this month's data allowance used");
  EXPECT_EQ(allowanceWarningText(100), "100 % of this month's data allowance used");
}

}  // namespace
}  // namespace tempodial

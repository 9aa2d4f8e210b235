#include "core/money/tariff.h"

#include <gtest/gtest.h>

#include <string>

namespace tempodial {
namespace {

// The five rows as the rate selection builds them: Weekday, Weekend, Friends
// and Family, then the two custom tariffs.
struct Table {
  std::string custom1 = "User set 1, to be defined";
  std::string custom2 = "User set 2, to be defined";
  std::array<TariffRow, 5> rows() const {
    return {{{"Weekday", "2.0"},
             {"Weekend", "1.0"},
             {"BT: Friends and Family", "0.9"},
             {custom1, "3"},
             {custom2, "4"}}};
  }
};

struct SelectionCase {
  const char* test;
  const char* tariffName;
  const char* custom1;
  const char* custom2;
  const char* rate;  // nullptr: the rate in use is kept
};

class RateSelection : public testing::TestWithParam<SelectionCase> {};

TEST_P(RateSelection, LastMatchingRowWinsAndNamesCompareExactly) {
  const SelectionCase& c = GetParam();
  Table table{c.custom1, c.custom2};
  auto rows = table.rows();
  auto rate = rateForTariff(c.tariffName, rows);
  if (c.rate == nullptr) {
    EXPECT_FALSE(rate.has_value()) << *rate;
  } else {
    ASSERT_TRUE(rate.has_value());
    EXPECT_EQ(*rate, c.rate);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RateSelection,
    testing::Values(
        SelectionCase{"WeekdayTakesRowOne", "Weekday", "a", "b", "2.0"},
        SelectionCase{"FriendsAndFamilyTakesRowThree", "BT: Friends and Family", "a", "b", "0.9"},
        SelectionCase{"CustomOneTakesItsRate", "a", "a", "b", "3"},
        SelectionCase{"CustomTwoTakesItsRate", "b", "a", "b", "4"},
        SelectionCase{"CustomNamedWeekdayOverwritesRowOne", "Weekday", "Weekday", "b", "3"},
        SelectionCase{"BothCustomNamesEqualGiveCustomTwo", "x", "x", "x", "4"},
        SelectionCase{"EmptyNameMatchesAnEmptyCustomName", "", "", "b", "3"},
        SelectionCase{"UnknownNameKeepsTheRate", "Weekday 1.4p a minute", "a", "b", nullptr},
        SelectionCase{"CaseCounts", "weekday", "a", "b", nullptr},
        SelectionCase{"TrailingBlankCounts", "Weekday ", "a", "b", nullptr},
        SelectionCase{"LineBreakCounts", "Weekend\n", "a", "b", nullptr}),
    [](const testing::TestParamInfo<SelectionCase>& info) { return info.param.test; });

TEST(FixedTariffs, UnsavedTariffUsesItsBuiltInRateNotTheEditedBox) {
  EXPECT_EQ(fixedRate(kFixedTariffs[0], false, "2.0"), "1.4");
  EXPECT_EQ(fixedRate(kFixedTariffs[1], false, ""), "1.0");
  EXPECT_EQ(fixedRate(kFixedTariffs[2], false, "5"), "0.9");
  EXPECT_EQ(fixedRate(kFixedTariffs[0], true, "2.0"), "2.0");
  EXPECT_EQ(fixedRate(kFixedTariffs[0], true, ""), "");
}

}  // namespace
}  // namespace tempodial

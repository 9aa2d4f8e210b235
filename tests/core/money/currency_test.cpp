#include "core/money/currency.h"

#include <gtest/gtest.h>

namespace tempodial {
namespace {

struct LabelCase {
  const char* test;
  Currency currency;
  bool atStartUp;
  const char* symbol;
  const char* panel;
  const char* minorUnit;
};

class CurrencyLabelTexts : public testing::TestWithParam<LabelCase> {};

TEST_P(CurrencyLabelTexts, EachRouteSetsItsOwnTexts) {
  const LabelCase& c = GetParam();
  CurrencyLabels labels = c.atStartUp ? startUpLabels(c.currency) : chosenLabels(c.currency);
  EXPECT_EQ(labels.symbol, c.symbol);
  EXPECT_EQ(labels.panel, c.panel);
  EXPECT_EQ(labels.minorUnit, c.minorUnit);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, CurrencyLabelTexts,
    testing::Values(
        LabelCase{"ChosenPound", Currency::Pound, false, "£", "£: Pounds", "Pence"},
        LabelCase{"ChosenDollar", Currency::Dollar, false, "$", "$: Dollars", "Cent(s)"},
        LabelCase{"ChosenFrank", Currency::Frank, false, "Fr", "Fr: Frank", "C"},
        LabelCase{"StartUpPound", Currency::Pound, true, "£", "£: Pounds", "Pence"},
        LabelCase{"StartUpDollarSaysCents", Currency::Dollar, true, "$", "$: Dollars", "Cents"},
        LabelCase{"StartUpFrankSaysF", Currency::Frank, true, "F", "Fr: Frank", "C"}),
    [](const testing::TestParamInfo<LabelCase>& info) { return info.param.test; });

TEST(CurrencyList, OnlyTheExactEntriesAreCurrencies) {
  EXPECT_EQ(currencyOfListText("£"), Currency::Pound);
  EXPECT_EQ(currencyOfListText("$"), Currency::Dollar);
  EXPECT_EQ(currencyOfListText("Frank"), Currency::Frank);
  EXPECT_FALSE(currencyOfListText("Fr").has_value());
  EXPECT_FALSE(currencyOfListText("frank").has_value());
  EXPECT_FALSE(currencyOfListText("£ ").has_value());
  EXPECT_FALSE(currencyOfListText("").has_value());
}

TEST(CurrencyList, EveryCurrencyReadsBackFromItsListText) {
  for (Currency currency : {Currency::Pound, Currency::Dollar, Currency::Frank}) {
    EXPECT_EQ(currencyOfListText(listText(currency)), currency);
  }
}

}  // namespace
}  // namespace tempodial

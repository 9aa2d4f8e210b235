#include "core/values/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <locale>
#include <random>
#include <string>

namespace tempodial {
namespace {

constexpr double kLargest = std::numeric_limits<double>::max();

struct ReadCase {
  const char* name;
  std::string text;
  double expected;
};

class ReadNumberTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadNumberTest, ReadsTheLeadingNumber) {
  EXPECT_EQ(readNumber(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ReadNumberTest,
    testing::Values(
        ReadCase{"BlanksBetweenDigitsAreSkipped", " 1 2", 12},
        ReadCase{"LineFeedStopsReadingLikeACarriageReturn", "2\n5", 2},
        ReadCase{"LineFeedInsideTheFractionStops", "4.5\n6", 4.5},
        ReadCase{"LineFeedBeforeTheExponentDigitsStops", "2e\n3", 2},
        ReadCase{"LineFeedBeforeAnyDigitReadsZero", "\n5", 0},
        ReadCase{"BlanksAndTabsBeforeALineFeedAreStillSkipped", " 1 \t2 \n3", 12},
        ReadCase{"UnicodeLineSeparatorStops", "7\u20288", 7},
        ReadCase{"TabsAreSkipped", "\t3\t4\t", 34}, ReadCase{"BlankAfterSignIsSkipped", "- 5", -5},
        ReadCase{"CarriageReturnStopsReading", "1\r2", 1}, ReadCase{"PlusSignIsAccepted", "+7", 7},
        ReadCase{"FractionWithoutIntegerPart", ".5", 0.5},
        ReadCase{"FullStopWithoutFraction", "5.", 5},
        ReadCase{"BlanksInsideFraction", "0. 0 1 4", 0.014},
        ReadCase{"EWithoutDigitsEndsTheNumber", "2e", 2},
        ReadCase{"EAndSignWithoutDigitsEndsTheNumber", "2e+x", 2},
        ReadCase{"ExponentIsApplied", "2e3", 2000}, ReadCase{"UpperCaseExponent", "2E3", 2000},
        ReadCase{"NegativeExponent", "25e-1", 2.5},
        ReadCase{"BlanksAroundExponent", "2 e - 1", 0.2},
        ReadCase{"LeadingZerosOfExponentAreKept", "1e00000000000000000000003", 1000},
        ReadCase{"TrailingLettersAreIgnored", "12abc", 12},
        ReadCase{"LettersOnlyReadZero", "abc", 0}, ReadCase{"EmptyTextReadsZero", "", 0},
        ReadCase{"BlanksOnlyReadZero", " \t\n", 0}, ReadCase{"CommaIsNotADecimalPoint", "1,5", 1},
        ReadCase{"FractionStopsAtLetter", "1.5p", 1.5},
        ReadCase{"SecondFullStopStops", "1.2.3", 1.2}, ReadCase{"LoneFullStopReadsZero", ".", 0},
        ReadCase{"LoneSignReadsZero", "-", 0}, ReadCase{"DoubleSignReadsZero", "--5", 0},
        ReadCase{"SignAfterDigitsStops", "5-3", 5},
        ReadCase{"OverflowGivesLargestFinite", "1e999", kLargest},
        ReadCase{"NegativeOverflowGivesLargestFiniteNegative", "-1e999", -kLargest},
        ReadCase{"UnderflowGivesZero", "1e-999", 0},
        ReadCase{"ZeroWithHugeExponentIsZero", "0e99999", 0},
        ReadCase{"SaturatedExponentStillOverflows", "9e99999999999999999999", kLargest},
        ReadCase{"HundredThousandDigitsOverflow", "1" + std::string(100'000, '0'), kLargest},
        ReadCase{"HundredThousandFractionDigits", "0." + std::string(100'000, '3'), 1.0 / 3.0},
        ReadCase{"HundredThousandBlanksBetweenDigits", "4" + std::string(100'000, ' ') + "2", 42},
        // 1e-401 times 1e700: in range although neither part alone is.
        ReadCase{"LeadingFractionZerosCountAgainstExponent", "0." + std::string(400, '0') + "1e700",
                 1e299}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

struct WriteCase {
  const char* name;
  double value;
  std::string expected;
};

class WriteNumberTest : public testing::TestWithParam<WriteCase> {};

TEST_P(WriteNumberTest, WritesShortestForm) {
  EXPECT_EQ(writeNumber(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WriteNumberTest,
    testing::Values(WriteCase{"Zero", 0.0, "0"}, WriteCase{"NegativeZeroHasNoSign", -0.0, "0"},
                    WriteCase{"WholeNumberHasNoPoint", 7, "7"},
                    WriteCase{"SmallFraction", 0.014, "0.014"},
                    WriteCase{"LeadingZeroKept", 0.07, "0.07"}, WriteCase{"OneDecimal", 2.5, "2.5"},
                    WriteCase{"InexactDecimal", 1.4, "1.4"},
                    WriteCase{"SumNoiseIsRoundedAway", 0.1 + 0.2, "0.3"},
                    WriteCase{"SmallSumNoiseIsRoundedAway", 0.014 + 0.014, "0.028"},
                    WriteCase{"Negative", -2.5, "-2.5"},
                    WriteCase{"FifteenDigitsWithoutExponent", 123456789012345.0, "123456789012345"},
                    WriteCase{"SixteenDigitsRoundedWithExponent", 1234567890123456.0,
                              "1.23456789012346E+15"},
                    WriteCase{"LargeUsesUpperCaseExponent", 1e20, "1E+20"},
                    WriteCase{"TinyUsesNegativeExponent", 0.00001, "1E-05"},

                    WriteCase{"NotANumberIsZero", std::numeric_limits<double>::quiet_NaN(), "0"},
                    WriteCase{"InfinityIsLargestFinite", std::numeric_limits<double>::infinity(),
                              "1.79769313486232E+308"},
                    WriteCase{"NegativeInfinityIsLargestFiniteNegative",
                              -std::numeric_limits<double>::infinity(), "-1.79769313486232E+308"}),
    [](const testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

TEST(NumberRoundTripTest, WrittenNumbersReadBackToTheSameText) {
  std::mt19937 random(20240601);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-320, 308);
  for (int i = 0; i < 5000; ++i) {
    const double value = mantissa(random) * std::pow(10.0, exponent(random));
    const std::string text = writeNumber(value);
    EXPECT_EQ(writeNumber(readNumber(text)), text) << value;
  }
  EXPECT_EQ(writeNumber(readNumber(writeNumber(std::numeric_limits<double>::infinity()))),
            "1.79769313486232E+308");
}

// Sets the C and C++ global locales for one test and puts them back after.
class ProcessLocale {
 public:
  ProcessLocale() : previousC_(std::setlocale(LC_ALL, nullptr)), previousCpp_() {}
  ~ProcessLocale() {
    std::setlocale(LC_ALL, previousC_.c_str());
    std::locale::global(previousCpp_);
  }
  // Returns false when the locale is not installed.
  bool use(const char* name) {
    if (std::setlocale(LC_ALL, name) == nullptr) return false;
    try {
      std::locale::global(std::locale(name));
    } catch (const std::runtime_error&) {
      return false;
    }
    return true;
  }

 private:
  std::string previousC_;
  std::locale previousCpp_;
};

void expectLocaleIndependent() {
  EXPECT_EQ(readNumber("1.5"), 1.5);
  EXPECT_EQ(readNumber("1,5"), 1);
  EXPECT_EQ(readNumber("1 234.5"), 1234.5);
  EXPECT_EQ(writeNumber(2.5), "2.5");
  EXPECT_EQ(writeNumber(1234567.25), "1234567.25");
  EXPECT_EQ(writeNumber(1e20), "1E+20");
}

TEST(NumberLocaleTest, DecimalCommaLocaleDoesNotChangeTheFullStop) {
  ProcessLocale locale;
  bool found = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"}) {
    if (locale.use(name)) {
      found = true;
      break;
    }
  }
  if (!found) GTEST_SKIP() << "no locale with a decimal comma is installed";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  expectLocaleIndependent();
}

TEST(NumberLocaleTest, UtfCLocaleDoesNotChangeTheFullStop) {
  ProcessLocale locale;
  if (!locale.use("C.UTF-8")) GTEST_SKIP() << "C.UTF-8 is not installed";
  expectLocaleIndependent();
}

}  // namespace
}  // namespace tempodial

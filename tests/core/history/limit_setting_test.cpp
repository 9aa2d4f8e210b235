// Limits as the settings file spells them: read strictly, so that a limit is
// one that can warn or none at all.
#include "core/history/limit_setting.h"

#include <gtest/gtest.h>

namespace tempodial {
namespace {

using State = LimitSetting::State;

struct Spelled {
  LimitKind kind;
  const char* text;
  State state;
  double value;
};

class LimitSettingTest : public testing::TestWithParam<Spelled> {};

TEST_P(LimitSettingTest, ReadsOnlyWholeNumbersOfTheUnitWithinTheRange) {
  const Spelled& c = GetParam();
  const LimitSetting read = readLimitSetting(c.kind, c.text);
  EXPECT_EQ(read.state, c.state) << c.text;
  if (c.state == State::Limit) {
    EXPECT_DOUBLE_EQ(read.value, c.value) << c.text;
  }
}

constexpr LimitKind kTime = LimitKind::MonthTime;
constexpr LimitKind kCost = LimitKind::DayCost;

INSTANTIATE_TEST_SUITE_P(
    Texts, LimitSettingTest,
    testing::Values(
        Spelled{kTime, "", State::None, 0}, Spelled{kTime, "0", State::None, 0},
        Spelled{kTime, "43200", State::Limit, 43200},
        Spelled{kTime, "3155760000", State::Limit, 3155760000.0},  // 100 years
        Spelled{kTime, "3155760001", State::Ignored, 0},
        Spelled{kTime, "12 hours", State::Ignored, 0}, Spelled{kTime, "0.5", State::Ignored, 0},
        Spelled{kTime, "-60", State::Ignored, 0}, Spelled{kTime, "1e300", State::Ignored, 0},
        Spelled{kTime, "inf", State::Ignored, 0},
        Spelled{kTime, "99999999999999999999999", State::Ignored, 0},
        Spelled{kCost, "25.5", State::Limit, 25.5}, Spelled{kCost, "0.05", State::Limit, 0.05},
        Spelled{kCost, "1000000000000", State::Limit, 1e12},
        Spelled{kCost, "1000000000000.01", State::Ignored, 0},
        Spelled{kCost, "0.00", State::None, 0}, Spelled{kCost, "0.005", State::Ignored, 0},
        Spelled{kCost, "1,5", State::Ignored, 0}, Spelled{kCost, "5.", State::Ignored, 0},
        Spelled{kCost, "-2", State::Ignored, 0}, Spelled{kCost, "nan", State::Ignored, 0},
        Spelled{kCost, "1E+12", State::Ignored, 0}));

}  // namespace
}  // namespace tempodial

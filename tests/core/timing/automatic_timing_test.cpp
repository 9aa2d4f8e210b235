#include "core/timing/automatic_timing.h"

#include <gtest/gtest.h>

#include <vector>

namespace tempodial {
namespace {

using C = TimingChoice;
using S = TimingStep;

// One look at the connection: the choice, the connection, whether the clock
// runs when the look is taken, and the step expected.
struct Look {
  C choice;
  bool online;
  bool metered;
  bool running;
  S step;
};

struct Story {
  const char* test;
  std::vector<Look> looks;
};

class ConnectionRuleStories : public testing::TestWithParam<Story> {};

TEST_P(ConnectionRuleStories, TheClockMovesOnlyWhenWhatTheConnectionAsksForChanges) {
  ConnectionRule rule;
  int n = 0;
  for (const Look& look : GetParam().looks) {
    EXPECT_EQ(rule.look(look.choice, look.online, look.metered, look.running), look.step)
        << "look " << n;
    ++n;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rule, ConnectionRuleStories,
    testing::Values(Story{"ByHandNeverMovesTheClock",
                          {{C::ByHand, true, true, false, S::None},
                           {C::ByHand, false, false, true, S::None},
                           {C::ByHand, true, false, false, S::None}}},
                    Story{"WhileOnlineFollowsUpAndDown",
                          {{C::WhileOnline, false, false, false, S::None},
                           {C::WhileOnline, true, false, false, S::Start},
                           {C::WhileOnline, false, false, true, S::StopOffline},
                           {C::WhileOnline, true, true, false, S::Start}}},
                    Story{"WhileOnlineIgnoresMetered",
                          {{C::WhileOnline, true, true, false, S::Start},
                           {C::WhileOnline, true, false, true, S::None},
                           {C::WhileOnline, true, true, true, S::None}}},
                    Story{"MeteredChoiceNeedsBoth",
                          {{C::WhileOnlineMetered, true, false, false, S::None},
                           {C::WhileOnlineMetered, true, true, false, S::Start},
                           {C::WhileOnlineMetered, true, false, true, S::StopNotMetered},
                           {C::WhileOnlineMetered, false, true, false, S::None},
                           {C::WhileOnlineMetered, true, true, false, S::Start},
                           {C::WhileOnlineMetered, false, true, true, S::StopOffline}}},
                    // Stopped by hand while up: the clock stays stopped until the
                    // connection goes down and up again.
                    Story{"AStopByHandHoldsUntilTheConnectionChanges",
                          {{C::WhileOnline, true, false, false, S::Start},
                           {C::WhileOnline, true, false, false, S::None},
                           {C::WhileOnline, true, true, false, S::None},
                           {C::WhileOnline, false, false, false, S::None},
                           {C::WhileOnline, true, false, false, S::Start}}},
                    Story{"AStartByHandHoldsWhileOffline",
                          {{C::WhileOnline, false, false, false, S::None},
                           {C::WhileOnline, false, false, true, S::None},
                           {C::WhileOnline, true, false, true, S::None},
                           {C::WhileOnline, false, false, true, S::StopOffline}}},
                    // Back to "Only by hand" and on again: the connection as it is now
                    // applies afresh.
                    Story{"ByHandForgetsSoTheNextChoiceAppliesAtOnce",
                          {{C::WhileOnline, true, false, false, S::Start},
                           {C::ByHand, true, false, false, S::None},
                           {C::WhileOnline, true, false, false, S::Start}}}),
    [](const testing::TestParamInfo<Story>& info) { return info.param.test; });

TEST(ConnectionRule, ResetAppliesTheConnectionAsItIs) {
  ConnectionRule rule;
  EXPECT_EQ(rule.look(C::WhileOnline, true, false, false), S::Start);
  EXPECT_EQ(rule.look(C::WhileOnline, true, false, false), S::None);  // stopped by hand
  rule.reset();
  EXPECT_EQ(rule.look(C::WhileOnline, true, false, false), S::Start);
}

TEST(TimingChoiceKeys, EachChoiceReadsBackAndUnknownWordsAreNothing) {
  for (C choice : kAllTimingChoices) {
    EXPECT_EQ(timingChoiceFromKey(timingChoiceKey(choice)), choice);
  }
  EXPECT_EQ(timingChoiceKey(C::WhileOnlineMetered), "while-online-metered");
  for (const char* word : {"", "online", "By-Hand", "while-online ", "1"}) {
    EXPECT_FALSE(timingChoiceFromKey(word).has_value()) << word;
  }
}

}  // namespace
}  // namespace tempodial

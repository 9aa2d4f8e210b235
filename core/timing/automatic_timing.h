// Timing that follows the network connection: the user's choice, how it is
// stored, and what the clock should do when the connection changes.
#pragma once

#include <optional>
#include <string_view>

namespace tempodial {

enum class TimingChoice {
  ByHand,              // "Only by hand": the clock runs only by Start/Stop
  WhileOnline,         // "While online"
  WhileOnlineMetered,  // "While online on a metered connection"
};

inline constexpr TimingChoice kAllTimingChoices[] = {
    TimingChoice::ByHand, TimingChoice::WhileOnline, TimingChoice::WhileOnlineMetered};

// The word that stands for `choice` in the settings file.
std::string_view timingChoiceKey(TimingChoice choice);
// The choice a settings word stands for; nothing for an unknown word.
std::optional<TimingChoice> timingChoiceFromKey(std::string_view key);

// What the connection asks of the clock, and why.
enum class TimingStep {
  None,
  Start,           // the connection is up (and metered, if that was asked)
  StopOffline,     // the connection is down
  StopNotMetered,  // up, but not metered, and only metered time is timed
};

// Follows the connection for the clock. Only a change of what the
// connection asks for moves the clock, so a press of Start/Stop by hand holds
// until the connection changes again.
class ConnectionRule {
 public:
  // Forgets what the connection asked for last: the next look applies the
  // connection as it is (a new choice, the start of the program).
  void reset() { wanted_.reset(); }

  // The step the clock takes now, given the choice, the connection and
  // whether the clock runs. None when the choice is "Only by hand", when the
  // connection asks for what it asked for last, or when the clock already
  // does what it asks.
  TimingStep look(TimingChoice choice, bool online, bool metered, bool running);

 private:
  std::optional<bool> wanted_;
};

}  // namespace tempodial

#include "core/timing/automatic_timing.h"

namespace tempodial {

std::string_view timingChoiceKey(TimingChoice choice) {
  switch (choice) {
    case TimingChoice::ByHand:
      return "by-hand";
    case TimingChoice::WhileOnline:
      return "while-online";
    case TimingChoice::WhileOnlineMetered:
      return "while-online-metered";
  }
  return "by-hand";
}

std::optional<TimingChoice> timingChoiceFromKey(std::string_view key) {
  for (TimingChoice choice : kAllTimingChoices) {
    if (timingChoiceKey(choice) == key) return choice;
  }
  return std::nullopt;
}

TimingStep ConnectionRule::look(TimingChoice choice, bool online, bool metered, bool running) {
  if (choice == TimingChoice::ByHand) {
    wanted_.reset();
    return TimingStep::None;
  }
  const bool meteredEnough = choice != TimingChoice::WhileOnlineMetered || metered;
  const bool wanted = online && meteredEnough;
  if (wanted_ == wanted) return TimingStep::None;
  wanted_ = wanted;
  if (wanted == running) return TimingStep::None;
  if (wanted) return TimingStep::Start;
  return online ? TimingStep::StopNotMetered : TimingStep::StopOffline;
}

}  // namespace tempodial

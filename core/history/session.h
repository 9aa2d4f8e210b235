// A run of the clock as the session journal keeps it: how it ended, and the
// counters written the way the clock shows them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tempodial {

// How a run of the clock ended. Open: it is running, or the program was
// killed before it could say (a kill or a power cut).
enum class SessionEnd { Open, Stopped, Exit, Interrupted };

// "stopped", "exit", "interrupted"; empty for Open.
std::string_view sessionEndText(SessionEnd end);
// The end named by `text`; Open for an empty text; nothing for any other.
std::optional<SessionEnd> sessionEndOf(std::string_view text);

// Whole seconds as the counters show time: 3909 is "1:5:9" (no padding).
std::string clockText(std::int64_t seconds);

}  // namespace tempodial

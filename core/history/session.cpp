#include "core/history/session.h"

namespace tempodial {

std::string_view sessionEndText(SessionEnd end) {
  switch (end) {
    case SessionEnd::Stopped:
      return "stopped";
    case SessionEnd::Exit:
      return "exit";
    case SessionEnd::Interrupted:
      return "interrupted";
    case SessionEnd::Open:
      break;
  }
  return "";
}

std::optional<SessionEnd> sessionEndOf(std::string_view text) {
  for (SessionEnd end :
       {SessionEnd::Open, SessionEnd::Stopped, SessionEnd::Exit, SessionEnd::Interrupted}) {
    if (sessionEndText(end) == text) return end;
  }
  return std::nullopt;
}

std::string clockText(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;
  return std::to_string(seconds / 3600) + ":" + std::to_string(seconds / 60 % 60) + ":" +
         std::to_string(seconds % 60);
}

}  // namespace tempodial

#include "windows/history_hook.h"

#include <utility>

namespace tempodial {
namespace {

HistoryOpener& opener() {
  static HistoryOpener stored;
  return stored;
}

}  // namespace

void setHistoryOpener(HistoryOpener open) { opener() = std::move(open); }

bool hasHistoryOpener() { return static_cast<bool>(opener()); }

void openHistoryWindow(Runtime& runtime) {
  if (opener()) opener()(runtime);
}

}  // namespace tempodial

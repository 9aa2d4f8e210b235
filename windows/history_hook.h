// The way to the usage history from the status icon's menu. The history
// window sets its opener here; until one is set the menu's entry is greyed.
#pragma once

#include <functional>

namespace tempodial {

class Runtime;

using HistoryOpener = std::function<void(Runtime&)>;

void setHistoryOpener(HistoryOpener opener);
bool hasHistoryOpener();
// Opens the history window if there is one.
void openHistoryWindow(Runtime& runtime);

}  // namespace tempodial

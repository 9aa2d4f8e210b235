// The start-up steps of the clock session: what the clock needs before it
// counts, whether or not the main window is ever built. At a start from the
// desktop's login the session runs behind the status icon with no main
// window until the user asks for it.
#pragma once

namespace tempodial {

class ClockSession;
class Runtime;

// Once a session (later calls do nothing): the tariffs, rates and currency
// from their files (the Options window loads, hidden), the tariff plan in
// use, whether the cost area shows at start-up, the status icon and the
// automatic timing.
void startSession(Runtime& runtime, ClockSession& session);

}  // namespace tempodial

// The windows of the program, registered by name and form index: the twelve
// classic windows, the restore question and the History window.
#pragma once

namespace tempodial {

class ClockSession;
class Runtime;

// Registers every window with the runtime; each is created on first
// reference and handed what it shows of `session`.
void registerForms(Runtime& runtime, ClockSession& session);

}  // namespace tempodial

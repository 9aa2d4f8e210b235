// Starting the user's Internet programs from their stored command lines.
#pragma once

namespace tempodial {

class Runtime;

// Starts the program of locations row 1, 2 or 3; every failure is reported
// with one message.
void launchProgram(Runtime& runtime, int row);

}  // namespace tempodial

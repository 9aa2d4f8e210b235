// Starting the user's Internet programs from their stored command lines.
#pragma once

namespace tempodial {

class Runtime;

// Starts the program of locations row 1, 2 or 3: reads the row's location
// file into its box of the locations window (loaded hidden when it is not
// loaded), splits the box's text into a program and its arguments the way a
// shell splits words, without expanding anything, and starts the program
// directly, never through a shell. Every failure (missing or unreadable file,
// empty command, unterminated quote, program that cannot be started) is
// reported with the one message "Ye Gods that didn't work".
void launchProgram(Runtime& runtime, int row);

}  // namespace tempodial

// Stored command lines of the user's Internet programs, split into a program
// and its arguments the way a shell splits words, without expanding anything.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/values/status.h"

namespace tempodial {

// Splits `line` into words: blanks, tabs and line breaks separate words;
// single quotes group literally; double quotes group, with backslash escaping
// only ", \, $ and ` inside them; a backslash outside quotes takes the next
// character literally. Nothing is expanded: $HOME, *, ; and | are ordinary
// characters. Returns an error for an unterminated quote or a line with no word.
Result<std::vector<std::string>> splitCommandLine(std::string_view line);

}  // namespace tempodial

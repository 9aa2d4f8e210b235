// Text read from a file (a plan's name, a path) as it may be printed to a
// terminal: a terminal obeys control characters, so a carriage return, an
// escape sequence or a C1 control in a name could rewrite what was printed
// before it on the line.
#pragma once

#include <string>
#include <string_view>

namespace tempodial {

// `text` (UTF-8) with every control character but the tab and the line feed
// (C0, DEL, and C1 from U+0080 to U+009F) written out as \xHH (C0, DEL) or
// \u00HH (C1); everything else is kept as it is.
std::string terminalText(std::string_view text);

}  // namespace tempodial

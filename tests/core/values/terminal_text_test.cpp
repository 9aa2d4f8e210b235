// What a terminal is given of a text read from a file: no control that it
// would obey, everything else as it was.
#include "core/values/terminal_text.h"

#include <gtest/gtest.h>

namespace tempodial {
namespace {

TEST(TerminalText, ControlsAreWrittenOutAndTextIsKept) {
  const struct {
    std::string_view text;
    std::string_view shown;
  } rows[] = {
      {"Cheap\r\xC2\xA3"
       "0.01  Cheap",
       "Cheap\\x0D\xC2\xA3"
       "0.01  Cheap"},
      {"a\tb\nc", "a\tb\nc"},
      {std::string_view("\0\x1B[2K\x1F\x7F", 7), "\\x00\\x1B[2K\\x1F\\x7F"},
      {"\xC2\x80\xC2\x9B"
       "31m\xC2\x9F",
       "\\u0080\\u009B31m\\u009F"},
      {"\xC2\xA0\xC2\x7F\xE2\x82\xAC ~", "\xC2\xA0\xC2\\x7F\xE2\x82\xAC ~"},
      {"\xC2", "\xC2"},
  };
  for (const auto& row : rows) EXPECT_EQ(terminalText(row.text), row.shown) << row.text;
}

}  // namespace
}  // namespace tempodial

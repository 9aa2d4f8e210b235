// The two encodings a value document meets: UTF-8 (the program's text) and
// Windows-1252 (the document's bytes).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tempodial {

inline constexpr char32_t kReplacement = 0xFFFD;

// The character of Windows-1252 code `code` (above 127). Unassigned codes
// give the control character of the same number.
char32_t fromCp1252(unsigned char code);

// The Windows-1252 code above 127 of `c`, or 0 when the code page lacks it.
unsigned char toCp1252(char32_t c);

void appendUtf8(std::string& out, char32_t c);

// Decodes the character at `i` and moves past it. A byte that does not start
// a well-formed sequence (overlong, surrogate, beyond U+10FFFF, cut short)
// decodes as U+FFFD and only that byte is consumed.
char32_t nextUtf8(std::string_view text, std::size_t& i);

}  // namespace tempodial

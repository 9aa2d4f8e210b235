// The value document writer. Only "\n" is a line break (\par). A carriage
// return, a tab and every other control character is written as \uN? (the
// tab as \tab), so any text round-trips exactly. Bytes that are not valid
// UTF-8 are written as U+FFFD, one per bad byte.
#include <string>

#include "core/values/text_encoding.h"
#include "core/values/value_document.h"

namespace tempodial {
namespace {

void appendUnicodeEscape(std::string& out, char16_t unit) {
  const int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
  out += "\\u";
  out += std::to_string(value);
  out.push_back('?');
}

void appendHexEscape(std::string& out, unsigned char code) {
  constexpr char kHex[] = "0123456789abcdef";
  out += "\\'";
  out.push_back(kHex[code >> 4]);
  out.push_back(kHex[code & 0x0F]);
}

void appendEscapedText(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = nextUtf8(text, i);
    if (c == '\n') {
      out += "\r\n\\par ";
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (c == '\\' || c == '{' || c == '}') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c >= 0x20 && c <= 0x7E) {
      out.push_back(static_cast<char>(c));
    } else if (const unsigned char code = toCp1252(c); code != 0) {
      appendHexEscape(out, code);
    } else if (c >= 0x10000) {
      const char32_t offset = c - 0x10000;
      appendUnicodeEscape(out, static_cast<char16_t>(0xD800 + (offset >> 10)));
      appendUnicodeEscape(out, static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
    } else {
      appendUnicodeEscape(out, static_cast<char16_t>(c));
    }
  }
}

}  // namespace

std::string writeValueDocument(std::string_view text, BoxFont font) {
  std::string out;
  out.reserve(260 + text.size() * 2);
  out +=
      "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}"
      "{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2 System;}{\\f3\\fswiss Arial;}"
      "{\\f4\\fnil Arial;}";
  if (font.sansSerifEntry) out += "{\\f5\\fswiss MS Sans Serif;}";
  out += "}\r\n";
  out += "{\\colortbl\\red0\\green0\\blue0;}\r\n";
  out += "\\deflang2057\\pard\\plain\\f";
  out += std::to_string(font.font);
  out += "\\fs";
  out += std::to_string(font.halfPoints);
  out.push_back(' ');
  appendEscapedText(out, text);
  out += "\r\n\\par }\r\n";
  return out;
}

}  // namespace tempodial

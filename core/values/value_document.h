// The value document: the one form of every file the program keeps. A small
// RTF document in Windows-1252 with CR LF line ends that holds the whole text
// of one box, written in that box's font.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/values/status.h"

namespace tempodial {

// The font of the box a value belongs to: whether the font table carries the
// sixth entry (f5, MS Sans Serif), and the font number and half-point size
// written on the text line.
struct BoxFont {
  bool sansSerifEntry;
  int font;
  int halfPoints;
};

// Main window counters and its hidden blank box: f0-f4, \f3\fs18.
inline constexpr BoxFont kClockBoxFont{false, 3, 18};
// Main window cost box: f0-f4, \f3\fs29.
inline constexpr BoxFont kCostBoxFont{false, 3, 29};
// Locations boxes, custom names and rates, hidden tariff boxes: f0-f5, \f5\fs17.
inline constexpr BoxFont kSansSerifBoxFont{true, 5, 17};
// Options rate boxes and the remembered currency: f0-f5, \f3\fs17.
inline constexpr BoxFont kOptionsArialBoxFont{true, 3, 17};

// No value document is larger than this; a larger file is not one.
inline constexpr std::size_t kMaxDocumentBytes = 64 * 1024;

// Returns the exact bytes of the value document for `text` (UTF-8) in `font`.
// Backslash and braces are escaped, Windows-1252 characters above 127 are
// written as \'hh (lower-case hex), other characters as \uN? and each line
// break as \par at the start of a new line.
std::string writeValueDocument(std::string_view text, BoxFont font);

// Reads the text (UTF-8) of a value document, or of a document another RTF
// writer made for one short text. Returns an error with a reason when `bytes`
// is not an RTF document, is truncated, or is larger than kMaxDocumentBytes.
// Never crashes or hangs, whatever the bytes.
Result<std::string> readValueDocument(std::string_view bytes);

}  // namespace tempodial

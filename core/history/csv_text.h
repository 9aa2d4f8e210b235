// The history's CSV: its header line, and the text fields that a spreadsheet
// must show as text: a tariff or currency typed as "=HYPERLINK(...)" or
// "+1+2" would otherwise be taken for a formula when the file is opened.
#pragma once

#include <string>
#include <string_view>

namespace tempodial {

// The first line of every export, also of an empty history: the columns'
// names.
inline constexpr std::string_view kHistoryCsvHeader =
    "start,end,seconds,time,tariff,rate,currency,cost,ended,received_bytes,sent_bytes\r\n";

// The text with a leading ' when it starts with =, +, -, @, a tab or a
// carriage return, the characters that make a spreadsheet read a cell as a
// formula; any other text as it is.
std::string spreadsheetText(std::string_view text);

}  // namespace tempodial

#include "core/history/csv_text.h"

namespace tempodial {

std::string spreadsheetText(std::string_view text) {
  if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) {
    return "'" + std::string(text);
  }
  return std::string(text);
}

}  // namespace tempodial

#include "core/values/terminal_text.h"

namespace tempodial {

std::string terminalText(std::string_view text) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto hex = [](unsigned char byte) {
    return std::string{kDigits[byte >> 4], kDigits[byte & 15]};
  };
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte < 0x20 && byte != '\t' && byte != '\n') || byte == 0x7F) {
      shown += "\\x" + hex(byte);
    } else if (byte == 0xC2 && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      shown += "\\u00" + hex(static_cast<unsigned char>(text[++i]));
    } else {
      shown += text[i];
    }
  }
  return shown;
}

}  // namespace tempodial

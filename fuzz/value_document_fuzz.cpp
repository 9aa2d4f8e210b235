// Feeds arbitrary bytes to the value document reader. Whatever it reads must
// survive a second trip: written back and read again, it gives the same text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/values/value_document.h"

namespace {

bool isValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
      length = 1, c = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, c = lead & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      c = (c << 6) | (next & 0x3F);
    }
    const char32_t minimum = length == 1 ? 0 : length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const tempodial::Result<std::string> first = tempodial::readValueDocument(bytes);
  if (!first.ok()) {
    if (first.reason().empty()) {
      std::fputs("read failed without a reason\n", stderr);
      std::abort();
    }
    return 0;
  }
  if (!isValidUtf8(first.value())) {
    std::fputs("read gave text that is not UTF-8\n", stderr);
    std::abort();
  }

  const std::string rewritten =
      tempodial::writeValueDocument(first.value(), tempodial::kSansSerifBoxFont);
  if (rewritten.size() > tempodial::kMaxDocumentBytes) return 0;
  const tempodial::Result<std::string> second = tempodial::readValueDocument(rewritten);
  if (!second.ok() || second.value() != first.value()) {
    std::fputs("rewritten document does not read back the same text\n", stderr);
    std::abort();
  }
  return 0;
}

#include "core/values/fixed_point.h"

namespace tempodial {

std::optional<std::int64_t> parseFixedPoint(std::string_view text, int maxWhole, int places) {
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
  if (whole.empty() || whole.size() > static_cast<std::size_t>(maxWhole) ||
      fraction.size() > static_cast<std::size_t>(places)) {
    return std::nullopt;
  }
  if (point != std::string_view::npos && fraction.empty()) return std::nullopt;
  std::int64_t value = 0;
  const std::size_t digits = whole.size() + static_cast<std::size_t>(places);
  for (std::size_t i = 0; i < digits; ++i) {
    const char c = i < whole.size()                     ? whole[i]
                   : i - whole.size() < fraction.size() ? fraction[i - whole.size()]
                                                        : '0';
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string fixedPointText(std::int64_t value, int places, int keep) {
  std::int64_t scale = 1;
  for (int i = 0; i < places; ++i) scale *= 10;
  std::string text = std::to_string(value / scale);
  std::string fraction = std::to_string(value % scale);
  fraction.insert(0, static_cast<std::size_t>(places) - fraction.size(), '0');
  while (static_cast<int>(fraction.size()) > keep && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += "." + fraction;
  return text;
}

}  // namespace tempodial

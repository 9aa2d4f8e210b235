#include "core/money/tariff.h"

namespace tempodial {

std::optional<std::string_view> rateForTariff(std::string_view tariffName,
                                              std::span<const TariffRow> rows) {
  std::optional<std::string_view> rate;
  for (const TariffRow& row : rows) {
    if (row.name == tariffName) rate = row.rate;
  }
  return rate;
}

}  // namespace tempodial

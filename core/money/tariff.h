// The tariffs: three fixed ones, whose rate is the saved box while their file
// exists and a built-in rate otherwise, and two custom ones named and priced
// by the user. The rate in use follows the chosen tariff name.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "core/files/file_places.h"

namespace tempodial {

// A fixed tariff: the name that chooses it, the file whose presence makes the
// edited rate count, and the rate that counts while the file is missing.
struct FixedTariff {
  std::string_view name;
  std::string_view file;
  std::string_view defaultRate;
};

inline constexpr std::array<FixedTariff, 3> kFixedTariffs{{
    {"Weekday", files::kWeekday, "1.4"},
    {"Weekend", files::kWeekend, "1.0"},
    {"BT: Friends and Family", files::kFriendsFamily, "0.9"},
}};

// One row of the tariff table: a name and the rate it stands for.
struct TariffRow {
  std::string_view name;
  std::string_view rate;
};

// The rate of a fixed tariff: the box's text while its file is saved, else the
// built-in rate.
constexpr std::string_view fixedRate(const FixedTariff& tariff, bool saved,
                                     std::string_view boxText) {
  return saved ? boxText : tariff.defaultRate;
}

// The rate in use for `tariffName`: every row is tested in order and a later
// match overwrites an earlier one, so the last matching row wins. Names are
// compared exactly (case, blanks and line breaks count). Returns nothing when
// no row matches: the rate in use is then kept as it is.
std::optional<std::string_view> rateForTariff(std::string_view tariffName,
                                              std::span<const TariffRow> rows);

}  // namespace tempodial

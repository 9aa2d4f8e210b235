// The program's two fixed places and its file set. The classic places
// C:\windows\ (the Windows directory) and C:\windows\wex\ (the data directory)
// map onto the host: <root>/ and <root>/wex/, where root is
// $XDG_DATA_HOME/tempodial. Names are lower case on disk.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tempodial {

enum class Place { Windows, Data };

namespace files {
inline constexpr std::string_view kSeconds = "seconds.tme";
inline constexpr std::string_view kMinutes = "minutes.tme";
inline constexpr std::string_view kHours = "hours.tme";
inline constexpr std::string_view kCost = "cost.tme";
inline constexpr std::string_view kShowCost = "showcost.opt";
inline constexpr std::string_view kButtShow = "buttshow.opt";
inline constexpr std::string_view kLocation1 = "locnc41.txt";
inline constexpr std::string_view kLocation2 = "locnc42.txt";
inline constexpr std::string_view kLocation3 = "locnc43.txt";
inline constexpr std::string_view kWeekday = "weekday.cst";
inline constexpr std::string_view kWeekend = "weekend.cst";
inline constexpr std::string_view kFriendsFamily = "ffamily.cst";
inline constexpr std::string_view kCustom1 = "custom1.cst";
inline constexpr std::string_view kCustom2 = "custom2.cst";
inline constexpr std::string_view kCustomCost1 = "ccost1.cst";
inline constexpr std::string_view kCustomCost2 = "ccost2.cst";
inline constexpr std::string_view kLastTariff = "last1.cst";
inline constexpr std::string_view kLastRate = "last2.cst";
inline constexpr std::string_view kLastCurrency = "last3.cst";

// Every file of the set.
inline constexpr std::array<std::string_view, 19> kAll = {
    kSeconds,     kMinutes,     kHours,      kCost,     kShowCost,      kButtShow, kLocation1,
    kLocation2,   kLocation3,   kWeekday,    kWeekend,  kFriendsFamily, kCustom1,  kCustom2,
    kCustomCost1, kCustomCost2, kLastTariff, kLastRate, kLastCurrency};
}  // namespace files

// The folder that stands for `place` under `root` ("<root>" or "<root>/wex"),
// without a trailing slash.
std::string placeFolder(std::string_view root, Place place);

// The host path of the file `name` in `place`; the name is put in lower case.
std::string placePath(std::string_view root, Place place, std::string_view name);

// Maps a classic absolute path ("C:\windows\wex\Seconds.TME", any letter case,
// either slash) onto the host under `root`. Returns nothing for a path outside
// the two places or one that tries to leave them ("..").
std::optional<std::string> mapClassicPath(std::string_view root, std::string_view classic);

}  // namespace tempodial

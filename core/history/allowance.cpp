#include "core/history/allowance.h"

#include "core/history/period.h"
#include "core/volume/data_volume.h"

namespace tempodial {
namespace {

// "12.3 GB" as its number and its unit.
std::pair<std::string, std::string> numberAndUnit(const std::string& size) {
  const std::size_t space = size.find(' ');
  return {size.substr(0, space), size.substr(space + 1)};
}

std::string withoutZeroTenth(std::string number) {
  if (number.size() > 2 && number.compare(number.size() - 2, 2, ".0") == 0)
    number.resize(number.size() - 2);
  return number;
}

}  // namespace

std::string allowanceSizeText(std::int64_t bytes) {
  const auto [number, unit] = numberAndUnit(volumeText(bytes));
  return withoutZeroTenth(number) + ' ' + unit;
}

std::string allowanceLeftText(std::int64_t used, std::int64_t allowance, const CivilDate& resets) {
  const std::string whole = allowanceSizeText(allowance);
  const std::string until = " left until " + shortDateText(resets);
  const std::int64_t left = allowance - used;
  if (left <= 0) return "0 of " + whole + until;
  const auto [number, unit] = numberAndUnit(volumeText(left));
  const std::string wholeUnit = numberAndUnit(whole).second;
  if (unit == wholeUnit) return withoutZeroTenth(number) + " of " + whole + until;
  return withoutZeroTenth(number) + ' ' + unit + " of " + whole + until;
}

std::string allowanceWarningText(int percent) {
  return std::to_string(percent) + " % of this month's data allowance used";
}

}  // namespace tempodial

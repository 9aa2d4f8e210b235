#include "core/plans/plan_quote.h"

#include <array>

#include "core/history/history.h"
#include "core/history/period.h"
#include "core/plans/plan_file.h"
#include "core/volume/data_volume.h"

namespace tempodial::plans {
namespace {

std::string padded(std::string text, std::size_t width) {
  text.append(text.size() + 2 < width ? width - text.size() : 2, ' ');
  return text;
}

std::string clockText(const LocalTime& local) {
  std::string text = timeText(local.seconds / 60);
  const int seconds = local.seconds % 60;
  if (seconds != 0) text += (seconds < 10 ? ":0" : ":") + std::to_string(seconds);
  return text;
}

std::string lengthText(std::int64_t seconds) {
  return seconds % 60 == 0 ? std::to_string(seconds / 60) + " min" : durationText(seconds);
}

}  // namespace

std::optional<std::int64_t> parseDuration(std::string_view text) {
  const auto colon = text.find(':');
  if (colon == 0 || colon == std::string_view::npos || colon > 3) return std::nullopt;
  if (text.size() != colon + 6 || text[colon + 3] != ':') return std::nullopt;
  std::int64_t hours = 0;
  for (char c : text.substr(0, colon)) {
    if (c < '0' || c > '9') return std::nullopt;
    hours = hours * 10 + (c - '0');
  }
  std::array<int, 2> parts{};
  for (std::size_t i = 0; i < 2; ++i) {
    const char a = text[colon + 1 + 3 * i], b = text[colon + 2 + 3 * i];
    if (a < '0' || a > '5' || b < '0' || b > '9') return std::nullopt;
    parts[i] = (a - '0') * 10 + (b - '0');
  }
  return hours * 3600 + parts[0] * 60 + parts[1];
}

std::string quoteText(const PlanRun& run) {
  static constexpr std::array<std::string_view, 7> kDays{"Mon", "Tue", "Wed", "Thu",
                                                         "Fri", "Sat", "Sun"};
  const Plan& plan = run.plan();
  const std::string unit(minorUnitSign(plan.currency));
  const auto money = [&plan](Amount amount) { return plan.currency + currencyText(amount); };
  const LocalTime start = run.clock()(run.startUtc());
  std::string text = money(run.total()) + "  " + plan.name + ", " + durationText(run.elapsed()) +
                     " from " + std::string(kDays[static_cast<std::size_t>(start.weekday)]) + " " +
                     std::to_string(start.day) + " " + shortMonthName(start.month) + " " +
                     clockText(start) + "\n";
  if (run.elapsed() == 0) return text;
  for (const RatePeriod& period : run.periods()) {
    const std::string times = clockText(run.clock()(period.startUtc)) + "-" +
                              clockText(run.clock()(period.startUtc + period.used));
    text += "  " + padded(times, 17) +
            padded(lengthText(period.used) + " at " + minorUnitsText(period.rate) + unit, 20) +
            money(period.amount()) + "\n";
  }
  if (run.volume() > 0) {
    // Beyond an allowance only part of the volume is charged.
    const std::string beyond =
        plan.allowanceBytes ? " (" + megabytesText(run.chargedVolume()) + " beyond allowance)" : "";
    text += "  " +
            padded("data " + megabytesText(run.volume()) + " MB" + beyond + " at " +
                       minorUnitsText(plan.perMb) + unit + "/MB",
                   37) +
            money(run.dataCharge()) + "\n";
  }
  if (plan.allowanceBytes) {
    text += "  allowance " + megabytesText(*plan.allowanceBytes) + " MB a month, " +
            megabytesText(run.usedBefore()) + " MB used before\n";
  }
  if (plan.connection != 0) text += "  " + padded("connection", 37) + money(plan.connection) + "\n";
  if (run.minimumTopUp() != 0) {
    text += "  " + padded("minimum " + money(plan.minimum), 37) + "+" + money(run.minimumTopUp()) +
            "\n";
  }
  return text;
}

}  // namespace tempodial::plans

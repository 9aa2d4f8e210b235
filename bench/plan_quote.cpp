// What a quote of the longest run costs under a plan of thousands of rules:
// writes a plan of N rules (default 8569: time windows on chosen weekdays,
// one-off dates, ranges of dates), reads it as the program reads a plan file,
// and charges 999:59:59 in 1-second steps from a start in local time, by the
// computer's own clock. Prints the rules, the reading time, the charging time
// and the total. Usage: plan_quote [rules] [YYYYMMDD start day]
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <variant>

#include "core/plans/plan_file.h"
#include "core/plans/plan_quote.h"
#include "platform/plans/plan_store.h"

namespace {

double seconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

std::string two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string planOf(int rules) {
  std::string text = "[plan]\nname=Many rules\nconnection=5\nminimum=10\nstep=1\nrate=1.4\n";
  for (int i = 0; i < rules; ++i) {
    text += "[rule" + std::to_string(i + 1) + "]\n";
    const int minute = (i * 7) % 1440;
    switch (i % 4) {
      case 0:  // a window on some weekdays
        text += std::string("days=") + (i % 8 == 0 ? "mon-fri" : "sat,sun") +
                "\nfrom=" + two(minute / 60) + ":" + two(minute % 60) +
                "\nto=" + two((minute + 97) % 1440 / 60) + ":" + two((minute + 97) % 60) + "\n";
        break;
      case 1:  // a one-off day
        text += "dates=" + std::to_string(2026 + i % 3) + "-" + two(i % 12 + 1) + "-" +
                two(i % 28 + 1) + "\n";
        break;
      case 2:  // a range every year, across the year's end for some
        text += "dates=" + two(i % 12 + 1) + "-" + two(i % 28 + 1) + ".." + two((i + 5) % 12 + 1) +
                "-" + two((i + 3) % 28 + 1) + "\nfrom=" + two(minute / 60) + ":" +
                two(minute % 60) + "\nto=" + two((minute + 31) % 1440 / 60) + ":" +
                two((minute + 31) % 60) + "\n";
        break;
      default:  // a time window every day
        text += "from=" + two(minute / 60) + ":" + two(minute % 60) +
                "\nto=" + two((minute + 13) % 1440 / 60) + ":" + two((minute + 13) % 60) + "\n";
    }
    text += "rate=" + std::to_string(i % 10) + "." + std::to_string(i % 7) + "\n";
  }
  return text;
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace tempodial::plans;
  const int rules = argc > 1 ? std::atoi(argv[1]) : 8569;
  const int day = argc > 2 ? std::atoi(argv[2]) : 20261207;
  const std::string text = planOf(rules);
  double at = seconds();
  auto read = readPlan(text, "bench");
  const double reading = seconds() - at;
  if (auto* error = std::get_if<PlanError>(&read)) {
    std::fprintf(stderr, "%s\n", errorText("plan", *error).c_str());
    return 1;
  }
  const LocalClock clock = tempodial::localClock();
  const auto moments = momentsOf(clock, day, 17 * 3600 + 50 * 60);
  if (moments.empty()) return 1;
  at = seconds();
  PlanRun run(std::get<Plan>(std::move(read)), moments.front(), clock);
  run.countTo(*parseDuration("999:59:59"));
  const double charging = seconds() - at;
  std::printf("rules %d (%zu bytes), read %.3f s, 999:59:59 charged in %.3f s: %zu periods, %s\n",
              rules, text.size(), reading, charging, run.periods().size(),
              currencyText(run.total()).c_str());
  // For comparison, 30:00:00 charged step by step, a rule search per step,
  // as the charge was first computed; and by rule boundaries.
  const Plan& plan = run.plan();
  at = seconds();
  std::int64_t sixtieths = 0;
  for (std::int64_t step = 0; step < 30 * 3600; step += plan.step) {
    const auto rule = ruleInForce(plan, clock(moments.front() + step));
    sixtieths += (rule ? plan.rules[*rule].rate : plan.rate) * plan.step;
  }
  const double stepwise = seconds() - at;
  PlanRun thirty(plan, moments.front(), clock);
  thirty.countTo(30 * 3600);
  std::printf("30:00:00 step by step %.3f s, by boundaries the same charge: %s\n", stepwise,
              (sixtieths + 30) / 60 + plan.connection == thirty.running() ? "yes" : "NO");
  return 0;
}

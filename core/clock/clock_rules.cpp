#include "core/clock/clock_rules.h"

#include <utility>

#include "core/values/number_text.h"

namespace tempodial::clock {
namespace {

std::string plusOne(const std::string& text) { return writeNumber(readNumber(text) + 1); }

}  // namespace

bool set(Counters& counters, Counter counter, std::string text) {
  switch (counter) {
    case Counter::Hours:
      counters.hours = std::move(text);
      return false;
    case Counter::Minutes:
      counters.minutes = std::move(text);
      if (readNumber(counters.minutes) == 60) {
        counters.hours = plusOne(counters.hours);
        counters.minutes = "0";
      }
      return false;
    case Counter::Seconds:
      counters.seconds = std::move(text);
      if (readNumber(counters.seconds) != 60) return false;
      counters.seconds = "0";
      set(counters, Counter::Minutes, plusOne(counters.minutes));
      return true;
  }
  return false;
}

bool tick(Counters& counters) { return set(counters, Counter::Seconds, plusOne(counters.seconds)); }

double totalSeconds(const Counters& counters) {
  return readNumber(counters.hours) * 3600 + readNumber(counters.minutes) * 60 +
         readNumber(counters.seconds);
}

std::int64_t dueAtTick(std::int64_t elapsedMs) { return (elapsedMs + 500) / 1000; }

std::int64_t dueAtStop(std::int64_t elapsedMs) { return elapsedMs / 1000; }

}  // namespace tempodial::clock

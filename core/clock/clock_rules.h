// The clock's rules: three counters kept as the texts their boxes show, the
// carry from seconds to minutes to hours, and how many seconds real time has
// put on the clock. A counter is read by its leading number, and only a box
// that reads exactly 60 carries: a typed 75 stays 75, as it always has.
#pragma once

#include <cstdint>
#include <string>

namespace tempodial::clock {

struct Counters {
  std::string hours = "0";
  std::string minutes = "0";
  std::string seconds = "0";
  friend bool operator==(const Counters&, const Counters&) = default;
};

enum class Counter { Hours, Minutes, Seconds };

// Puts `text` into one counter, as typing or a load does, and carries: seconds
// that read exactly 60 become "0" and add a minute; minutes that read exactly
// 60 become "0" and add an hour. Returns true iff a minute was completed
// (the classic meter charges it).
bool set(Counters& counters, Counter counter, std::string text);

// One second more: the seconds grow by one, and carry as above.
bool tick(Counters& counters);

// The time on the clock in seconds: each counter read as a number.
double totalSeconds(const Counters& counters);

// The whole seconds of a run that are due after `elapsedMs` of real time: at
// a tick the nearest whole second (a tick a little early or late counts its
// own second), when the clock stops only the seconds completed.
std::int64_t dueAtTick(std::int64_t elapsedMs);
std::int64_t dueAtStop(std::int64_t elapsedMs);

}  // namespace tempodial::clock

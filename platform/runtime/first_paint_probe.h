// For the start-up benchmark: when TEMPODIAL_FIRST_PAINT is set, the first
// paint of any window prints "first-paint <ns>" (CLOCK_MONOTONIC) on stderr.
#pragma once

namespace tempodial {

void installFirstPaintProbe();

}  // namespace tempodial

// For the start-up benchmark: when TEMPODIAL_FIRST_PAINT is set, the first
// paint of any window prints "first-paint <ns>" on stderr, and the first paint
// of the main window "main-paint <ns>" (CLOCK_MONOTONIC).
#pragma once

namespace tempodial {

void installFirstPaintProbe();

}  // namespace tempodial

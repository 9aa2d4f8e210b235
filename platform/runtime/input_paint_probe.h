// For the history benchmark: when TEMPODIAL_PAINT_TIMES is set, a window that
// has just shown something new in answer to the user names the step, and the
// end of that window's next paint prints "paint-after-input <step> <ms>" on
// stderr: the milliseconds since the last key or mouse button event the
// program took in. Without the variable nothing is watched.
#pragma once

class QWidget;

namespace tempodial {

void installInputPaintProbe();

// `window` shows what `step` asked for; its next paint ends the step.
void reportNextPaint(QWidget* window, const char* step);

}  // namespace tempodial

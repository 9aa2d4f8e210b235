// Colour arithmetic for readable captions: relative luminance and contrast
// ratio as WCAG 2 defines them.
#pragma once

#include <QColor>

namespace tempodial {

// 0 for black to 1 for white.
double relativeLuminance(const QColor& colour);

// From 1 (no contrast) to 21 (black on white); 4.5 is enough for text.
double contrastRatio(const QColor& a, const QColor& b);

// Black or white, whichever stands out more against `background`.
QColor readableOn(const QColor& background);

}  // namespace tempodial

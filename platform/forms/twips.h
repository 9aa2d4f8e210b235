// Twips (1440 to the inch) to pixels through the screen's logical dpi: 15
// twips to a pixel at 96 dpi.
#pragma once

class QWidget;

namespace tempodial {

int twipsToPixels(int twips);

// Places `widget` at left/top with width/height, all in twips, relative to its
// parent. A size of 0 keeps the widget's own size hint for that dimension.
void placeTwips(QWidget* widget, int left, int top, int width = 0, int height = 0);

}  // namespace tempodial

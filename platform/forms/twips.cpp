#include "platform/forms/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace tempodial {

int twipsToPixels(int twips) {
  double dpi = 96.0;
  if (QScreen* screen = QGuiApplication::primaryScreen()) dpi = screen->logicalDotsPerInch();
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

void placeTwips(QWidget* widget, int left, int top, int width, int height) {
  QSize hint = widget->sizeHint();
  int w = width > 0 ? twipsToPixels(width) : hint.width();
  int h = height > 0 ? twipsToPixels(height) : hint.height();
  widget->setGeometry(twipsToPixels(left), twipsToPixels(top), w, h);
}

}  // namespace tempodial

// The program's own artwork, drawn in code so that it is crisp at any scale:
// the application icon, the button icons and the splash picture.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tempodial {

enum class Art {
  Application,
  Start,
  Reset,
  Save,
  Load,
  SaveCost,
  LoadCost,
  Browser,
  Dialer,
  Explorer,
};

// The icon for `art`: the desktop theme's icon of `themeName` when the theme
// has one, else the program's own.
QIcon artIcon(Art art);

// The splash picture, 384 x 288 pixels at scale 1.
QPixmap splashPicture(qreal devicePixelRatio = 1.0);

}  // namespace tempodial

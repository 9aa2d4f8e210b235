// The program's own artwork, drawn in code so that it is crisp at any scale:
// the application icon, the button icons and the splash picture.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QStringList>

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
  ButtonBar,
};

// Every value of Art, in declaration order.
inline constexpr Art kAllArt[] = {Art::Application, Art::Start,    Art::Reset,    Art::Save,
                                  Art::Load,        Art::SaveCost, Art::LoadCost, Art::Browser,
                                  Art::Dialer,      Art::Explorer, Art::ButtonBar};

// The freedesktop icon names that stand for `art` in a desktop theme, best
// first; empty when the program always shows its own (the application icon).
QStringList artThemeNames(Art art);

// The icon for `art`: the desktop theme's icon of the first of
// artThemeNames(art) that the theme has, else the program's own.
QIcon artIcon(Art art);

// The program's own drawn icon for `art`, painted afresh at whatever size is
// asked for.
QIcon drawnArtIcon(Art art);

// The program's own picture of `art`, `pixels` wide and high.
QImage artImage(Art art, int pixels);

// The status area's picture of the clock, running or stopped, `pixels` wide
// and high; and the icon made of it at the status areas' usual sizes.
QImage clockStateImage(bool running, int pixels);
QIcon clockStateIcon(bool running);

// The splash picture, 384 x 288 pixels at scale 1. At scale 1 and 2 it is
// the stored rendering of drawnSplashPicture (resources/splash.bmp, an
// uncompressed bitmap shown where it lies in the program, and
// resources/splash@2x.png), which shows at once at start-up; at other scales
// it is drawn. splashPicture is the same as a pixmap.
QImage splashImage(qreal devicePixelRatio = 1.0);
QPixmap splashPicture(qreal devicePixelRatio = 1.0);

// Once the splash picture is on the screen: the resident pages of the stored
// bitmap that `shown` views are given back (they are read again from the
// program file if it is drawn again). Does nothing for any other image.
void releaseSplashPixels(const QImage& shown);

// The splash picture drawn afresh; render_artwork stores it for splashPicture.
QPixmap drawnSplashPicture(qreal devicePixelRatio = 1.0);

}  // namespace tempodial

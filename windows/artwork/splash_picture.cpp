// The splash picture: the emblem, the name, what the program does and its
// version on a dark gradient.
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

#include <cmath>

#include "windows/artwork/drawing.h"

namespace tempodial {
namespace {

using namespace drawing;

void paintSplashBackground(QPainter& p, const QRectF& area) {
  QLinearGradient sky(area.topLeft(), area.bottomRight());
  sky.setColorAt(0, QColor(0x08, 0x2a, 0x3a));
  sky.setColorAt(0.55, QColor(0x0d, 0x4f, 0x60));
  sky.setColorAt(1, QColor(0x12, 0x7a, 0x88));
  p.fillRect(area, sky);
}

// A soft shadow of `image`: its shape in translucent black, blurred.
QImage softShadow(const QImage& image) {
  QImage shape(image.size(), QImage::Format_ARGB32_Premultiplied);
  shape.fill(Qt::transparent);
  QPainter p(&shape);
  p.drawImage(0, 0, image);
  p.setCompositionMode(QPainter::CompositionMode_SourceIn);
  p.fillRect(shape.rect(), QColor(0, 0, 0, 110));
  p.end();
  const QSize small = (QSizeF(shape.size()) / 10).toSize().expandedTo(QSize(1, 1));
  return shape.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .scaled(shape.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The Arial font at `pixels` high, or smaller so that `text` fits in `width`.
QFont fitted(const QString& text, int pixels, bool bold, qreal width) {
  QFont font(QStringLiteral("Arial"));
  font.setBold(bold);
  for (; pixels > 8; --pixels) {
    font.setPixelSize(pixels);
    if (QFontMetricsF(font).horizontalAdvance(text) <= width) break;
  }
  return font;
}

}  // namespace

QPixmap splashPicture(qreal devicePixelRatio) {
  // Loading the stored picture takes a fraction of the time that drawing it
  // (and loading its fonts) takes, and the splash window is the first thing
  // the user sees.
  if (devicePixelRatio == 1.0 || devicePixelRatio == 2.0) {
    // Read as an image: a pixmap read from a file stays in the pixmap cache
    // for the rest of the run, long after the splash window has gone.
    QPixmap stored = QPixmap::fromImage(QImage(devicePixelRatio == 1.0
                                                   ? QStringLiteral(":/tempodial/splash.bmp")
                                                   : QStringLiteral(":/tempodial/splash@2x.png")));
    if (!stored.isNull()) {
      stored.setDevicePixelRatio(devicePixelRatio);
      return stored;
    }
  }
  return drawnSplashPicture(devicePixelRatio);
}

QPixmap drawnSplashPicture(qreal devicePixelRatio) {
  const QSizeF logical(384, 288);
  QPixmap picture((logical * devicePixelRatio).toSize());
  picture.setDevicePixelRatio(devicePixelRatio);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const QRectF area(QPointF(0, 0), logical);
  const qreal footHeight = 30;
  paintSplashBackground(p, area);

  // The emblem on the left, its dial inside a ring of minute marks.
  const qreal emblem = 124;
  const QPointF centre(96, 128);
  const QRectF emblemBox(centre.x() - emblem * kDialCentre.x() / kUnits,
                         centre.y() - emblem * kDialCentre.y() / kUnits, emblem, emblem);
  QRadialGradient glow(centre, 100);
  glow.setColorAt(0, QColor(255, 255, 255, 38));
  glow.setColorAt(1, QColor(255, 255, 255, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawEllipse(centre, 100, 100);
  for (int i = 0; i < 60; ++i) {
    const qreal angle = i * M_PI / 30;
    const QPointF direction(std::sin(angle), -std::cos(angle));
    const bool major = i % 5 == 0;
    p.setPen(QPen(QColor(255, 255, 255, major ? 110 : 50), major ? 2.0 : 1.0, Qt::SolidLine,
                  Qt::FlatCap));
    p.drawLine(centre + direction * (major ? 80 : 84), centre + direction * 89);
  }
  const QImage image = artImage(Art::Application, qRound(emblem * devicePixelRatio));
  p.drawImage(emblemBox.translated(0, 4), softShadow(image));
  p.drawImage(emblemBox, image);

  // The name, what the program does and its version on the right.
  const qreal left = 196;
  const qreal room = logical.width() - left - 12;
  QFont title = fitted(QStringLiteral("Tempodial"), 38, true, room);
  p.setFont(title);
  p.setPen(QColor::fromRgba(kWhite));
  p.drawText(QPointF(left, 114), QStringLiteral("Tempodial"));
  const QString what = QStringLiteral("Online time and call cost");
  p.setFont(fitted(what, 15, false, room));
  p.setPen(QColor(0xff, 0xcf, 0x80));
  p.drawText(QPointF(left + 1, 138), what);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromRgba(kAmber));
  p.drawRoundedRect(QRectF(left + 1, 151, 40, 3), 1.5, 1.5);
  QFont version(QStringLiteral("Arial"));
  version.setPixelSize(12);
  p.setFont(version);
  p.setPen(QColor::fromRgba(kMist));
  p.drawText(QPointF(left + 1, 174), QStringLiteral("Version 1.0"));

  // A darker band along the foot.
  const QRectF foot(0, logical.height() - footHeight, logical.width(), footHeight);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 70));
  p.drawRect(foot);
  QFont footFont(QStringLiteral("Arial"));
  footFont.setPixelSize(11);
  p.setFont(footFont);
  p.setPen(QColor(255, 255, 255, 170));
  p.drawText(foot, Qt::AlignCenter,
             QStringLiteral("Time every call online  \u2022  Know what it costs"));
  p.end();
  return picture;
}

}  // namespace tempodial

// The splash picture: the emblem, the name, what the program does and its
// version on a dark gradient.
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QRadialGradient>
#include <QResource>
#include <QtMath>

#include <sys/mman.h>
#include <unistd.h>

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

// The stored bitmap's pixels, shown where they lie in the program's
// resources: a 32-bit top-down bitmap whose bytes (blue, green, red, 255)
// are those of an opaque 32-bit image, as render_artwork writes it; it is
// drawn by plain copying. Null when the stored file is anything else.
QImage storedBitmap() {
  if constexpr (Q_BYTE_ORDER != Q_LITTLE_ENDIAN) return {};
  const QResource resource(QStringLiteral(":/tempodial/splash.bmp"));
  const uchar* data = resource.data();
  const qint64 size = resource.size();
  if (data == nullptr || resource.compressionAlgorithm() != QResource::NoCompression || size < 54 ||
      data[0] != 'B' || data[1] != 'M') {
    return {};
  }
  const auto number = [data](int at, int bytes) {
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | data[at + i];
    return value;
  };
  const quint32 offset = number(10, 4);
  const auto width = static_cast<qint32>(number(18, 4));
  const auto height = static_cast<qint32>(number(22, 4));
  if (number(14, 4) < 40 || number(26, 2) != 1 || number(28, 2) != 32 || number(30, 4) != 0 ||
      width <= 0 || width > 4096 || height >= 0 || height < -4096) {
    return {};
  }
  const qint64 rowBytes = qint64{width} * 4;
  if (offset > size || rowBytes * -height > size - offset) return {};
  // Images keep their scan lines on 32-bit boundaries: lines stored
  // elsewhere are shown from a copy.
  const uchar* pixels = data + offset;
  const QImage view(pixels, width, -height, rowBytes, QImage::Format_RGB32);
  return reinterpret_cast<quintptr>(pixels) % 4 == 0 ? view : view.copy();
}

}  // namespace

QImage splashImage(qreal devicePixelRatio) {
  // The stored picture shows at once, without the time that drawing it (and
  // loading its fonts) takes, and the splash window is the first thing the
  // user sees. At scale 1 it is not even decoded: it is drawn straight from
  // the program's resources, with no copy of its own.
  QImage stored;
  if (devicePixelRatio == 1.0) stored = storedBitmap();
  if (devicePixelRatio == 2.0) stored = QImage(QStringLiteral(":/tempodial/splash@2x.png"));
  if (!stored.isNull()) {
    stored.setDevicePixelRatio(devicePixelRatio);
    return stored;
  }
  return drawnSplashPicture(devicePixelRatio).toImage();
}

void releaseSplashPixels(const QImage& shown) {
  const QResource resource(QStringLiteral(":/tempodial/splash.bmp"));
  const uchar* begin = shown.constBits();
  const uchar* stored = resource.data();
  // Only the view of the stored bytes: a copy or a drawn picture is the
  // program's own memory, which this must never touch.
  if (begin == nullptr || stored == nullptr || begin < stored ||
      begin + shown.sizeInBytes() > stored + resource.size()) {
    return;
  }
  const auto page = static_cast<quintptr>(sysconf(_SC_PAGESIZE));
  const quintptr first = (reinterpret_cast<quintptr>(begin) + page - 1) / page * page;
  const quintptr end = (reinterpret_cast<quintptr>(begin) + shown.sizeInBytes()) / page * page;
  // The pages hold nothing but the picture and are never written: the
  // system reads them back from the program file if they are drawn again.
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
}

QPixmap splashPicture(qreal devicePixelRatio) {
  return QPixmap::fromImage(splashImage(devicePixelRatio));
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

#include "windows/artwork/artwork.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>

#include <array>
#include <functional>

#include "windows/artwork/drawing.h"

namespace tempodial {
namespace {

using namespace drawing;

constexpr int kArtCount = static_cast<int>(std::size(kAllArt));

// A disabled picture: grey, and faded.
QImage disabled(const QImage& image) {
  QImage grey = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < grey.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
    for (int x = 0; x < grey.width(); ++x) {
      const QRgb pixel = line[x];
      const int level = qGray(pixel);
      line[x] = qRgba(level, level, level, qAlpha(pixel) * 2 / 5);
    }
  }
  return grey;
}

// Paints the pictures afresh at whatever size they are asked for, so they
// are crisp at every size and scale; keeps the pixmaps it has painted.
class ArtEngine final : public QIconEngine {
 public:
  explicit ArtEngine(Art art) : art_(art) {}

  QIconEngine* clone() const override { return new ArtEngine(art_); }
  QString key() const override { return QStringLiteral("tempodial-art"); }
  QString iconName() override {
    return art_ == Art::Application ? QStringLiteral("tempodial") : QString();
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int side = qMin(size.width(), size.height());
    return QSize(side, side);
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    // Every size offered is painted for each window's icon as it is made;
    // larger ones are painted when asked for.
    for (int side : {16, 22, 24, 32, 48, 64, 128}) sizes.append(QSize(side, side));
    return sizes;
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }

  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal) override {
    const int side = qMin(size.width(), size.height());
    if (side <= 0) return QPixmap();
    const bool grey = mode == QIcon::Disabled;
    const quint64 cacheKey = quint64(side) << 1 | (grey ? 1 : 0);
    const auto found = painted_.constFind(cacheKey);
    if (found != painted_.constEnd()) return *found;
    const QImage image = artImage(art_, side);
    QPixmap pixmap = QPixmap::fromImage(grey ? disabled(image) : image);
    // Buttons repaint their pictures: those are kept. The larger sizes are
    // asked for once as each window is made (its icon for the window
    // manager); keeping them would hold 80 KiB for the rest of the run.
    if (side <= kLargestKept) painted_.insert(cacheKey, pixmap);
    return pixmap;
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const int side = qMin(rect.width(), rect.height());
    QPixmap pixmap = scaledPixmap(QSize(side, side) * scale, mode, state, scale);
    pixmap.setDevicePixelRatio(scale);
    const QRect square(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2,
                       side, side);
    painter->drawPixmap(square, pixmap);
  }

 private:
  static constexpr int kLargestKept = 48;
  Art art_;
  QHash<quint64, QPixmap> painted_;
};

int indexOf(Art art) { return static_cast<int>(art); }

}  // namespace

QStringList artThemeNames(Art art) {
  switch (art) {
    case Art::Application:
      return {};
    case Art::Start:
      return {QStringLiteral("media-playback-start")};
    case Art::Reset:
      return {QStringLiteral("edit-undo"), QStringLiteral("view-refresh")};
    case Art::Save:
      return {QStringLiteral("document-save")};
    case Art::Load:
      return {QStringLiteral("document-open")};
    case Art::SaveCost:
    case Art::LoadCost:
      // No theme has a coin going into or out of a file.
      return {};
    case Art::Browser:
      return {QStringLiteral("web-browser")};
    case Art::Dialer:
      return {QStringLiteral("network-modem"), QStringLiteral("call-start")};
    case Art::Explorer:
      // A second browser must not look like the first: always the compass.
      return {};
    case Art::ButtonBar:
      return {};
  }
  return {};
}

namespace {

// A square picture `pixels` wide, drawn by `paint` in the artwork's units;
// small pictures take the simpler drawing.
QImage drawnImage(int pixels, const std::function<void(QPainter&, bool small)>& paint) {
  QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(pixels / kUnits, pixels / kUnits);
  paint(painter, pixels <= kSmallPixels);
  painter.end();
  return image;
}

}  // namespace

QImage artImage(Art art, int pixels) {
  return drawnImage(pixels, [art](QPainter& p, bool small) { paintArt(p, art, small); });
}

QIcon drawnArtIcon(Art art) {
  static std::array<QIcon, kArtCount> icons;
  QIcon& icon = icons[indexOf(art)];
  if (icon.isNull()) icon = QIcon(new ArtEngine(art));
  return icon;
}

QIcon artIcon(Art art) {
  struct Chosen {
    QString theme;
    QIcon icon;
  };
  static std::array<Chosen, kArtCount> chosen;
  Chosen& entry = chosen[indexOf(art)];
  const QString theme = QIcon::themeName();
  if (entry.icon.isNull() || entry.theme != theme) {
    entry.theme = theme;
    entry.icon = drawnArtIcon(art);
    for (const QString& name : artThemeNames(art)) {
      if (QIcon::hasThemeIcon(name)) {
        entry.icon = QIcon::fromTheme(name);
        break;
      }
    }
  }
  return entry.icon;
}

QImage clockStateImage(bool running, int pixels) {
  return drawnImage(pixels,
                    [running](QPainter& p, bool small) { paintClockState(p, running, small); });
}

QIcon clockStateIcon(bool running) {
  static std::array<QIcon, 2> icons;
  QIcon& icon = icons[running ? 1 : 0];
  if (icon.isNull()) {
    for (int side : {16, 22, 24, 32, 48, 64}) {
      icon.addPixmap(QPixmap::fromImage(clockStateImage(running, side)));
    }
  }
  return icon;
}

}  // namespace tempodial

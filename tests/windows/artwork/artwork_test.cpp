// The artwork: every picture is drawn, distinct and sharp at scale 2; the
// splash picture has its size and is more than a flat colour.
#include <gtest/gtest.h>

#include <QImage>
#include <QResource>
#include <QSet>

#include "windows/artwork/artwork.h"

namespace tempodial {
namespace {

bool hasPaint(const QImage& image) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < argb.height(); ++y) {
    for (int x = 0; x < argb.width(); ++x) {
      if (qAlpha(argb.pixel(x, y)) > 0) return true;
    }
  }
  return false;
}

int colourCount(const QImage& image) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  QSet<QRgb> colours;
  for (int y = 0; y < argb.height(); y += 4) {
    for (int x = 0; x < argb.width(); x += 4) colours.insert(argb.pixel(x, y));
  }
  return static_cast<int>(colours.size());
}

TEST(ArtworkTest, EveryIconPaintsSomethingAtButtonSize) {
  for (Art art : kAllArt) {
    SCOPED_TRACE(static_cast<int>(art));
    const QIcon drawn = drawnArtIcon(art);
    ASSERT_FALSE(drawn.isNull());
    const QPixmap own = drawn.pixmap(QSize(32, 32), 1.0);
    EXPECT_EQ(own.size(), QSize(32, 32));
    EXPECT_TRUE(hasPaint(own.toImage()));
    // A desktop theme may stand in with a smaller picture, never an empty one.
    const QIcon shown = artIcon(art);
    ASSERT_FALSE(shown.isNull());
    const QPixmap pixmap = shown.pixmap(QSize(32, 32), 1.0);
    EXPECT_FALSE(pixmap.isNull());
    EXPECT_TRUE(hasPaint(pixmap.toImage()));
  }
}

TEST(ArtworkTest, EveryDrawnPictureDiffersFromTheOthers) {
  for (int side : {16, 32}) {
    QSet<QByteArray> seen;
    for (Art art : kAllArt) {
      const QImage image = artImage(art, side).convertToFormat(QImage::Format_ARGB32);
      seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()),
                             static_cast<qsizetype>(image.sizeInBytes())));
    }
    EXPECT_EQ(seen.size(), static_cast<qsizetype>(std::size(kAllArt))) << side;
  }
}

TEST(ArtworkTest, DrawnIconsArePaintedAtFullResolutionOnScaledScreens) {
  const QPixmap pixmap = drawnArtIcon(Art::Application).pixmap(QSize(32, 32), 2.0);
  EXPECT_EQ(pixmap.size(), QSize(64, 64));
  EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), 2.0);
  EXPECT_EQ(pixmap.toImage().convertToFormat(QImage::Format_ARGB32),
            artImage(Art::Application, 64).convertToFormat(QImage::Format_ARGB32));
}

TEST(ArtworkTest, SplashPictureHasItsSizeAtEachScale) {
  const QPixmap single = splashPicture(1.0);
  EXPECT_EQ(single.size(), QSize(384, 288));
  const QPixmap twice = splashPicture(2.0);
  EXPECT_EQ(twice.size(), QSize(768, 576));
  EXPECT_DOUBLE_EQ(twice.devicePixelRatio(), 2.0);
  EXPECT_EQ(twice.deviceIndependentSize(), QSizeF(384, 288));
  EXPECT_GT(colourCount(single.toImage()), 50);
  EXPECT_GT(colourCount(twice.toImage()), 50);
}

}  // namespace
}  // namespace tempodial

namespace tempodial {
namespace {

// The stored splash picture must be the one the drawing code makes; a change
// to the drawing needs the stored files renewed.
TEST(StoredSplash, MatchesTheDrawnPictureAtBothScales) {
  for (qreal scale : {1.0, 2.0}) {
    const QImage stored = splashPicture(scale).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage drawn = drawnSplashPicture(scale).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(stored.size(), drawn.size()) << "scale " << scale;
    qint64 difference = 0;
    for (int y = 0; y < drawn.height(); ++y) {
      for (int x = 0; x < drawn.width(); ++x) {
        const QRgb a = stored.pixel(x, y);
        const QRgb b = drawn.pixel(x, y);
        difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                      std::abs(qBlue(a) - qBlue(b));
      }
    }
    const double perChannel = double(difference) / (3.0 * drawn.width() * drawn.height());
    EXPECT_LT(perChannel, 2.0) << "scale " << scale
                               << ": renew resources/splash.bmp and splash@2x.png";
  }
}

// At scale 1 the picture is shown from the stored bytes themselves: a copy
// would cost the splash window 442 KiB of memory.
TEST(StoredSplash, IsShownWhereItLiesAtScaleOne) {
  const QResource stored(QStringLiteral(":/tempodial/splash.bmp"));
  const QImage picture = splashImage(1.0);
  ASSERT_EQ(picture.size(), QSize(384, 288));
  EXPECT_GE(picture.constBits(), stored.data());
  EXPECT_LE(picture.constBits() + picture.sizeInBytes(), stored.data() + stored.size());
}

}  // namespace
}  // namespace tempodial

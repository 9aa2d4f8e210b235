// Writes the program's artwork out:
//   render_artwork <icon-folder> [--review <folder>]
// puts the application icon into <icon-folder>/<N>x<N>/apps/tempodial.png
// (the hicolor theme layout) and, with --review, the splash picture at scale
// 1 and 2 (PNG files, and at scale 1 the bitmap the program stores) and a
// sheet of every button picture at several sizes.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <cstdio>

#include "windows/artwork/artwork.h"

namespace {

using tempodial::Art;

bool save(const QImage& image, const QString& path) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !image.save(path, "PNG")) {
    QTextStream(stderr) << "render_artwork: cannot write " << path << '\n';
    return false;
  }
  QTextStream(stdout) << path << '\n';
  return true;
}

// The splash picture as the program stores it: a 32-bit bitmap whose rows
// run from the top (a negative height), its pixels starting on a word
// boundary of the file; its bytes (blue, green, red, 255) are those of an
// opaque 32-bit image, so that the program shows them where they lie.
bool saveTopDownBitmap(const QImage& picture, const QString& path) {
  static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the bitmap holds the image's own bytes");
  const QImage image = picture.convertToFormat(QImage::Format_RGB32);
  const qint32 width = image.width();
  const qint32 height = image.height();
  const qint32 rowBytes = width * 4;
  const qint32 offset = 56;  // the 54 bytes of the headers, then two spare
  QByteArray file(offset, '\0');
  const auto put = [&file](int at, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<char>(value >> (8 * i) & 0xff);
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, offset + rowBytes * height, 4);
  put(10, offset, 4);
  put(14, 40, 4);
  put(18, width, 4);
  put(22, static_cast<quint32>(-height), 4);
  put(26, 1, 2);
  put(28, 32, 2);
  put(34, rowBytes * height, 4);
  for (int y = 0; y < height; ++y) {
    file.append(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes);
  }
  QFile out(path);
  if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size() || !out.flush()) {
    QTextStream(stderr) << "render_artwork: cannot write " << path << '\n';
    return false;
  }
  QTextStream(stdout) << path << '\n';
  return true;
}

bool writeIcons(const QDir& folder) {
  bool ok = true;
  for (int side : {16, 24, 32, 48, 64, 128, 256}) {
    const QString size = QStringLiteral("%1x%1").arg(side);
    ok = save(tempodial::artImage(Art::Application, side),
              folder.filePath(size + QStringLiteral("/apps/tempodial.png"))) &&
         ok;
  }
  return ok;
}

// Every picture at the sizes it is shown at, on a light and on a dark ground.
QImage artSheet() {
  const QList<int> sides{16, 24, 32, 48, 64};
  const int gap = 8;
  int rowHeight = gap;
  for (int side : sides) rowHeight += side + gap;
  const int cell = 64 + gap;
  const int columns = static_cast<int>(std::size(tempodial::kAllArt));
  QImage sheet(columns * cell + gap, 2 * rowHeight, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&sheet);
  painter.fillRect(0, 0, sheet.width(), rowHeight, QColor(0xf4, 0xf4, 0xf2));
  painter.fillRect(0, rowHeight, sheet.width(), rowHeight, QColor(0x2b, 0x2d, 0x30));
  for (int ground = 0; ground < 2; ++ground) {
    int y = ground * rowHeight + gap;
    for (int side : sides) {
      for (int column = 0; column < columns; ++column) {
        const QImage image = tempodial::artImage(tempodial::kAllArt[column], side);
        painter.drawImage(gap + column * cell + (64 - side) / 2, y, image);
      }
      y += side + gap;
    }
  }
  painter.end();
  return sheet;
}

bool writeReview(const QDir& folder) {
  const QImage splash = tempodial::drawnSplashPicture(1.0).toImage();
  bool ok = save(splash, folder.filePath("splash.png"));
  ok = saveTopDownBitmap(splash, folder.filePath("splash.bmp")) && ok;
  ok = save(tempodial::drawnSplashPicture(2.0).toImage(), folder.filePath("splash@2x.png")) && ok;
  ok = save(artSheet(), folder.filePath("buttons.png")) && ok;
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList arguments = QGuiApplication::arguments();
  QString icons;
  QString review;
  for (int i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == QStringLiteral("--review") && i + 1 < arguments.size()) {
      review = arguments[++i];
    } else if (icons.isEmpty() && !arguments[i].startsWith(QLatin1Char('-'))) {
      icons = arguments[i];
    } else {
      icons.clear();
      break;
    }
  }
  if (icons.isEmpty()) {
    std::fputs("usage: render_artwork <icon-folder> [--review <folder>]\n", stderr);
    return 2;
  }
  bool ok = writeIcons(QDir(icons));
  if (!review.isEmpty()) ok = writeReview(QDir(review)) && ok;
  return ok ? 0 : 1;
}

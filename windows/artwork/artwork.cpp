#include "windows/artwork/artwork.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QtMath>

#include <array>
#include <cmath>
#include <functional>

namespace tempodial {
namespace {

// One small palette for every picture: deep teal, warm amber and white.
constexpr QRgb kInk = 0xff0b3442;
constexpr QRgb kTeal = 0xff11707f;
constexpr QRgb kTealLight = 0xff1f93a1;
constexpr QRgb kAmber = 0xfff5a623;
constexpr QRgb kAmberDark = 0xffc9780a;
constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kMist = 0xffe3f1f3;

constexpr int kArtCount = static_cast<int>(std::size(kAllArt));
// A picture this many device pixels wide or fewer is drawn with heavier
// strokes and without fine detail.
constexpr int kSmallPixels = 24;

// The pictures are drawn in a square of 100 x 100 units.
constexpr qreal kUnits = 100.0;
// Where the dial of the application's stopwatch is centred.
constexpr QPointF kDialCentre(46, 55);

QPen strokePen(QRgb colour, qreal width, Qt::PenCapStyle cap = Qt::RoundCap) {
  return QPen(QColor::fromRgba(colour), width, Qt::SolidLine, cap, Qt::RoundJoin);
}

void fillEllipse(QPainter& p, QPointF centre, qreal radius, QRgb colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromRgba(colour));
  p.drawEllipse(centre, radius, radius);
}

// Clears a disc out of what is drawn so far, so that a badge laid on top
// stands apart from the picture behind it.
void clearDisc(QPainter& p, QPointF centre, qreal radius) {
  p.save();
  p.setCompositionMode(QPainter::CompositionMode_Clear);
  fillEllipse(p, centre, radius, kWhite);
  p.restore();
}

// A telephone handset lying on its back, centred on the origin and about 100
// units long: the handle bows upwards, the ear and mouth pieces hang below.
QPainterPath handsetPath() {
  QPainterPath handle;
  handle.moveTo(-38, 4);
  handle.cubicTo(-26, -22, 26, -22, 38, 4);
  QPainterPathStroker stroker;
  stroker.setWidth(14);
  stroker.setCapStyle(Qt::FlatCap);
  QPainterPath shape = stroker.createStroke(handle);
  const auto piece = [](qreal x, qreal angle) {
    QPainterPath path;
    path.addRoundedRect(QRectF(-18, -10, 36, 22), 10, 10);
    QTransform placed;
    placed.translate(x, 12);
    placed.rotate(angle);
    return placed.map(path);
  };
  shape = shape.united(piece(-38, 22)).united(piece(38, -22));
  return shape.simplified();
}

void paintHandset(QPainter& p, QPointF centre, qreal length, qreal angle, QRgb colour) {
  p.save();
  p.translate(centre);
  p.rotate(angle);
  p.scale(length / 110.0, length / 110.0);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromRgba(colour));
  p.drawPath(handsetPath());
  p.restore();
}

void paintCoin(QPainter& p, QPointF centre, qreal radius, bool small) {
  fillEllipse(p, centre, radius, kAmberDark);
  fillEllipse(p, centre, radius * (small ? 0.74 : 0.8), kAmber);
  if (!small) {
    p.setPen(strokePen(kAmberDark, radius * 0.12));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius * 0.5, radius * 0.5);
    // A glint on the upper left of the rim.
    p.setPen(strokePen(0xccffffff, radius * 0.1));
    const qreal r = radius * 0.9;
    p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 110 * 16, 50 * 16);
  }
}

// A stopwatch case: the crown and side button, the ring and the white face;
// returns the radius of the face.
qreal paintStopwatch(QPainter& p, QPointF c, qreal r, bool small) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromRgba(kTeal));
  // The side button, a quarter of the way round from the crown.
  p.save();
  p.translate(c);
  p.rotate(45);
  p.drawRoundedRect(QRectF(-r * 0.11, -r * 1.2, r * 0.22, r * 0.34), r * 0.05, r * 0.05);
  p.restore();
  // The crown: a stem and a wider cap.
  p.drawRect(QRectF(c.x() - r * 0.11, c.y() - r * 1.17, r * 0.22, r * 0.3));
  p.drawRoundedRect(QRectF(c.x() - r * 0.3, c.y() - r * 1.3, r * 0.6, r * 0.2), r * 0.06, r * 0.06);

  QLinearGradient ring(c.x(), c.y() - r, c.x(), c.y() + r);
  ring.setColorAt(0, QColor::fromRgba(kTealLight));
  ring.setColorAt(1, QColor::fromRgba(kTeal));
  p.setBrush(ring);
  p.drawEllipse(c, r, r);
  const qreal face = r * (small ? 0.74 : 0.8);
  fillEllipse(p, c, face, kWhite);

  const int ticks = small ? 4 : 12;
  for (int i = 0; i < ticks; ++i) {
    const bool major = small || i % 3 == 0;
    const qreal angle = i * 2 * M_PI / ticks;
    const qreal outer = face * 0.9;
    const qreal inner = face * (major ? 0.72 : 0.8);
    const QPointF direction(std::sin(angle), -std::cos(angle));
    p.setPen(strokePen(kInk, major ? face * 0.09 : face * 0.06, Qt::FlatCap));
    p.drawLine(c + direction * inner, c + direction * outer);
  }
  return face;
}

// The clock hand from the centre to `degrees` clockwise from twelve, with the
// time gone by shown as an amber sector behind it.
void paintElapsed(QPainter& p, QPointF c, qreal face, qreal degrees, bool small) {
  const qreal r = face * 0.78;
  QColor sector = QColor::fromRgba(kAmber);
  sector.setAlphaF(0.45);
  p.setPen(Qt::NoPen);
  p.setBrush(sector);
  p.drawPie(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 90 * 16, qRound(-degrees * 16));
  const qreal angle = qDegreesToRadians(degrees);
  const QPointF direction(std::sin(angle), -std::cos(angle));
  p.setPen(strokePen(kInk, face * (small ? 0.16 : 0.11)));
  p.drawLine(c, c + direction * face * 0.74);
  p.setPen(strokePen(kAmberDark, face * (small ? 0.16 : 0.11)));
  p.drawLine(c, c - QPointF(0, face * 0.74));
  fillEllipse(p, c, face * (small ? 0.14 : 0.12), kInk);
}

void paintApplication(QPainter& p, bool small) {
  const QPointF c = kDialCentre;
  const qreal face = paintStopwatch(p, c, 38, small);
  paintElapsed(p, c, face, 125, small);
  const QPointF badge(75, 76);
  clearDisc(p, badge, small ? 27 : 25);
  if (small) {
    // Too small for a handset to show: the coin of the call's cost instead.
    paintCoin(p, badge, 22, true);
    return;
  }
  fillEllipse(p, badge, 20.5, kAmber);
  paintHandset(p, badge + QPointF(-1.5, -1.5), 35, -135, kWhite);
}

void paintStart(QPainter& p, bool small) {
  const QPointF c(50, 56);
  const qreal face = paintStopwatch(p, c, 40, small);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromRgba(kAmber));
  if (small) {
    // Only the play sign shows at this size.
    const qreal h = face * 1.05;
    const qreal left = c.x() - h * 0.34;
    p.drawPolygon(QPolygonF{{left, c.y() - h / 2}, {left + h * 0.8, c.y()}, {left, c.y() + h / 2}});
    return;
  }
  // Play, then pause: the two things the button does.
  const qreal h = face * 0.7;
  const qreal left = c.x() - h * 0.72;
  p.drawPolygon(QPolygonF{{left, c.y() - h / 2}, {left + h * 0.75, c.y()}, {left, c.y() + h / 2}});
  p.setBrush(QColor::fromRgba(kInk));
  const qreal bar = h * 0.2;
  p.drawRect(QRectF(left + h * 0.9, c.y() - h * 0.42, bar, h * 0.84));
  p.drawRect(QRectF(left + h * 0.9 + bar * 1.8, c.y() - h * 0.42, bar, h * 0.84));
}

void paintReset(QPainter& p, bool small) {
  const QPointF c(50, 52);
  const qreal r = 33;
  const qreal width = small ? 15 : 11;
  const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
  // The arrow turns backwards round the dial and stops just short of twelve.
  const qreal end = 100;
  const qreal sweep = 285;
  QPainterPath arc;
  arc.arcMoveTo(box, end - sweep);
  arc.arcTo(box, end - sweep, sweep - 18);
  p.setBrush(Qt::NoBrush);
  p.setPen(strokePen(kTeal, width, Qt::FlatCap));
  p.drawPath(arc);
  const qreal theta = qDegreesToRadians(end - 18);
  const QPointF at = c + QPointF(std::cos(theta), -std::sin(theta)) * r;
  const QPointF along(-std::sin(theta), -std::cos(theta));
  const QPointF across(along.y(), -along.x());
  const qreal head = small ? 30 : 27;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromRgba(kTeal));
  p.drawPolygon(QPolygonF{at + along * head * 0.75, at + across * head * 0.55 - along * 0.5,
                          at - across * head * 0.55 - along * 0.5});
  // The zero the clock goes back to.
  p.setPen(strokePen(kAmber, small ? 11 : 8));
  p.setBrush(Qt::NoBrush);
  if (small) {
    p.drawEllipse(c, 6.0, 9.0);
  } else {
    p.drawEllipse(c, 9.0, 13.0);
  }
}

// An open tray, with room above it for what goes in or comes out.
void paintTray(QPainter& p, bool small) {
  const qreal width = small ? 13 : 10;
  p.setBrush(Qt::NoBrush);
  p.setPen(strokePen(kTeal, width));
  const qreal top = 62;
  const qreal bottom = 88;
  p.drawPolyline(QPolygonF{{12, top}, {12, bottom}, {88, bottom}, {88, top}});
  if (!small) {
    p.setPen(strokePen(kTealLight, 5, Qt::FlatCap));
    p.drawLine(QPointF(30, bottom - 11), QPointF(70, bottom - 11));
  }
}

// A straight arrow up or down the middle, from `from` to its tip at `to`.
void paintArrow(QPainter& p, qreal x, qreal from, qreal to, qreal shaft, qreal head, QRgb colour) {
  const qreal sign = to > from ? 1 : -1;
  const qreal headLength = head * 0.8;
  const qreal neck = to - sign * headLength;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromRgba(colour));
  p.drawPolygon(QPolygonF{{x - shaft / 2, from},
                          {x - shaft / 2, neck},
                          {x - head / 2, neck},
                          {x, to},
                          {x + head / 2, neck},
                          {x + shaft / 2, neck},
                          {x + shaft / 2, from}});
}

void paintSave(QPainter& p, bool small) {
  paintTray(p, small);
  paintArrow(p, 50, 6, 74, small ? 18 : 15, small ? 48 : 42, kAmber);
}

void paintLoad(QPainter& p, bool small) {
  paintTray(p, small);
  paintArrow(p, 50, 76, 6, small ? 18 : 15, small ? 48 : 42, kAmber);
}

void paintSaveCost(QPainter& p, bool small) {
  paintTray(p, small);
  paintArrow(p, 50, 40, 76, small ? 14 : 11, small ? 36 : 30, kTealLight);
  paintCoin(p, QPointF(50, 25), small ? 22 : 20, small);
}

void paintLoadCost(QPainter& p, bool small) {
  paintTray(p, small);
  paintArrow(p, 50, 78, 38, small ? 14 : 11, small ? 36 : 30, kTealLight);
  paintCoin(p, QPointF(50, 22), small ? 22 : 19, small);
}

void paintBrowser(QPainter& p, bool small) {
  const QPointF c(50, 50);
  const qreal r = 42;
  fillEllipse(p, c, r, kTeal);
  p.save();
  QPainterPath globe;
  globe.addEllipse(c, r, r);
  p.setClipPath(globe);
  // A lighter half lit from the upper left.
  QRadialGradient light(c - QPointF(r * 0.4, r * 0.4), r * 1.3);
  light.setColorAt(0, QColor::fromRgba(kTealLight));
  light.setColorAt(1, QColor::fromRgba(kTeal));
  p.setBrush(light);
  p.setPen(Qt::NoPen);
  p.drawEllipse(c, r, r);
  p.setBrush(Qt::NoBrush);
  p.setPen(strokePen(kWhite, small ? 7 : 4.5, Qt::FlatCap));
  p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
  p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
  p.drawEllipse(c, r * 0.48, r);
  if (!small) {
    p.drawLine(QPointF(c.x() - r, c.y() - r * 0.5), QPointF(c.x() + r, c.y() - r * 0.5));
    p.drawLine(QPointF(c.x() - r, c.y() + r * 0.5), QPointF(c.x() + r, c.y() + r * 0.5));
  }
  p.restore();
  // An amber ring round the globe: the connection going out.
  p.setBrush(Qt::NoBrush);
  p.setPen(strokePen(kAmber, small ? 8 : 6));
  p.save();
  p.translate(c);
  p.rotate(-28);
  p.drawArc(QRectF(-r * 1.16, -r * 0.36, r * 2.32, r * 0.72), 180 * 16, 180 * 16);
  p.restore();
}

void paintDialer(QPainter& p, bool small) {
  // A desk telephone: the handset resting on a base with a rotary dial.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromRgba(kTeal));
  QPainterPath base;
  base.moveTo(24, 42);
  base.lineTo(76, 42);
  base.lineTo(92, 86);
  base.quadTo(93, 92, 86, 92);
  base.lineTo(14, 92);
  base.quadTo(7, 92, 8, 86);
  base.closeSubpath();
  p.drawPath(base);
  // The handset lies on the base, a narrow gap apart from it.
  const QPointF rest(50, 33);
  p.save();
  p.translate(rest);
  p.scale(100 / 110.0, 100 / 110.0);
  p.setCompositionMode(QPainter::CompositionMode_Clear);
  p.setPen(QPen(Qt::black, small ? 16 : 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::black);
  p.drawPath(handsetPath());
  p.restore();
  paintHandset(p, rest, 100, 0, kTeal);
  const QPointF dial(50, 68);
  const qreal r = small ? 17 : 17;
  fillEllipse(p, dial, r, kWhite);
  if (small) {
    fillEllipse(p, dial, r * 0.42, kAmber);
    return;
  }
  for (int i = 0; i < 8; ++i) {
    const qreal angle = qDegreesToRadians(-60.0 + i * 34.0);
    fillEllipse(p, dial + QPointF(std::sin(angle), -std::cos(angle)) * r * 0.66, r * 0.16, kTeal);
  }
  fillEllipse(p, dial, r * 0.32, kAmber);
}

void paintExplorer(QPainter& p, bool small) {
  const QPointF c(50, 50);
  const qreal r = 43;
  fillEllipse(p, c, r, kTeal);
  const qreal face = r * (small ? 0.76 : 0.8);
  fillEllipse(p, c, face, kWhite);
  // The four points of the compass.
  for (int i = 0; i < 4; ++i) {
    const qreal angle = i * M_PI / 2;
    const QPointF direction(std::sin(angle), -std::cos(angle));
    p.setPen(strokePen(kInk, small ? 7 : 5, Qt::FlatCap));
    if (!small) {
      p.drawLine(c + direction * face * 0.78, c + direction * face * 0.96);
    }
  }
  // The needle, pointing north-east: amber to the north, ink to the south.
  p.save();
  p.translate(c);
  p.rotate(45);
  const qreal length = face * 0.86;
  const qreal half = face * (small ? 0.3 : 0.24);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromRgba(kAmber));
  p.drawPolygon(QPolygonF{{0, -length}, {half, 0}, {-half, 0}});
  p.setBrush(QColor::fromRgba(kInk));
  p.drawPolygon(QPolygonF{{0, length}, {half, 0}, {-half, 0}});
  p.restore();
  fillEllipse(p, c, face * 0.1, kWhite);
}

// The button bar's own icon: a small window whose face is a row of three
// buttons, each with a hint of the program it starts (the dial of the
// telephone, the globe of the browser, the needle of the compass).
void paintButtonBar(QPainter& p, bool small) {
  const QRectF frame(6, 18, 88, 64);
  p.setPen(Qt::NoPen);
  QLinearGradient body(frame.topLeft(), frame.bottomLeft());
  body.setColorAt(0, QColor::fromRgba(kTealLight));
  body.setColorAt(1, QColor::fromRgba(kTeal));
  p.setBrush(body);
  p.drawRoundedRect(frame, 10, 10);
  // The title bar, with its close control in amber.
  p.setBrush(QColor::fromRgba(kInk));
  QPainterPath title;
  title.addRoundedRect(QRectF(frame.left(), frame.top(), frame.width(), 20), 10, 10);
  title.addRect(QRectF(frame.left(), frame.top() + 10, frame.width(), 10));
  p.drawPath(title.simplified());
  fillEllipse(p, QPointF(frame.right() - 11, frame.top() + 10), small ? 6 : 4.5, kAmber);

  const qreal side = 24;
  const qreal top = 46;
  for (int i = 0; i < 3; ++i) {
    const QRectF button(13 + i * 26.5, top, side, side);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba(kWhite));
    p.drawRoundedRect(button, 5, 5);
    const QPointF c = button.center();
    const qreal r = small ? 8 : 7.5;
    switch (i) {
      case 0:
        fillEllipse(p, c, r, kAmber);
        if (!small) fillEllipse(p, c, r * 0.4, kAmberDark);
        break;
      case 1:
        fillEllipse(p, c, r, kTeal);
        if (!small) {
          p.setPen(strokePen(kWhite, 1.8, Qt::FlatCap));
          p.setBrush(Qt::NoBrush);
          p.drawEllipse(c, r * 0.45, r);
          p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
        }
        break;
      default:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromRgba(kAmber));
        p.drawPolygon(QPolygonF{c + QPointF(r * 0.7, -r * 0.7), c + QPointF(r * 0.25, r * 0.25),
                                c + QPointF(-r * 0.25, -r * 0.25)});
        p.setBrush(QColor::fromRgba(kInk));
        p.drawPolygon(QPolygonF{c + QPointF(-r * 0.7, r * 0.7), c + QPointF(r * 0.25, r * 0.25),
                                c + QPointF(-r * 0.25, -r * 0.25)});
        break;
    }
  }
}

// The status area's picture: the application's stopwatch with a badge,
// amber with a play sign while the clock runs, ink with a pause sign while it
// stands. The hand stands at twelve while the clock is stopped.
void paintClockState(QPainter& p, bool running, bool small) {
  const QPointF c = kDialCentre;
  const qreal face = paintStopwatch(p, c, 38, small);
  paintElapsed(p, c, face, running ? 125 : 0, small);
  const QPointF badge(75, 76);
  clearDisc(p, badge, small ? 27 : 25);
  fillEllipse(p, badge, small ? 24 : 20.5, running ? kAmber : kInk);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromRgba(kWhite));
  const qreal h = small ? 24 : 20;
  if (running) {
    const qreal left = badge.x() - h * 0.32;
    p.drawPolygon(QPolygonF{
        {left, badge.y() - h / 2}, {left + h * 0.8, badge.y()}, {left, badge.y() + h / 2}});
  } else {
    const qreal bar = h * 0.28;
    p.drawRect(QRectF(badge.x() - bar * 1.4, badge.y() - h / 2, bar, h));
    p.drawRect(QRectF(badge.x() + bar * 0.4, badge.y() - h / 2, bar, h));
  }
}

void paintArt(QPainter& p, Art art, bool small) {
  switch (art) {
    case Art::Application:
      return paintApplication(p, small);
    case Art::Start:
      return paintStart(p, small);
    case Art::Reset:
      return paintReset(p, small);
    case Art::Save:
      return paintSave(p, small);
    case Art::Load:
      return paintLoad(p, small);
    case Art::SaveCost:
      return paintSaveCost(p, small);
    case Art::LoadCost:
      return paintLoadCost(p, small);
    case Art::Browser:
      return paintBrowser(p, small);
    case Art::Dialer:
      return paintDialer(p, small);
    case Art::Explorer:
      return paintExplorer(p, small);
    case Art::ButtonBar:
      return paintButtonBar(p, small);
  }
}

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
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) sizes.append(QSize(side, side));
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
    painted_.insert(cacheKey, pixmap);
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
  Art art_;
  QHash<quint64, QPixmap> painted_;
};

int indexOf(Art art) { return static_cast<int>(art); }

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

QPixmap splashPicture(qreal devicePixelRatio) {
  // Loading the stored picture takes a fraction of the time that drawing it
  // (and loading its fonts) takes, and the splash window is the first thing
  // the user sees.
  if (devicePixelRatio == 1.0 || devicePixelRatio == 2.0) {
    QPixmap stored(devicePixelRatio == 1.0 ? QStringLiteral(":/tempodial/splash.bmp")
                                           : QStringLiteral(":/tempodial/splash@2x.png"));
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

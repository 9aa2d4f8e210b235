#include "windows/artwork/drawing.h"

#include <QtMath>

#include <cmath>

namespace tempodial::drawing {

QPen strokePen(QRgb colour, qreal width, Qt::PenCapStyle cap) {
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

}  // namespace tempodial::drawing

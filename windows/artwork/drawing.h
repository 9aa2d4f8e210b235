// What the program's pictures are drawn with: one palette, a square of 100 x
// 100 units, and the pieces several pictures share (the stopwatch, the
// handset, the coin, the tray and the arrows). Used only inside the artwork.
#pragma once

#include <QPainter>
#include <QPainterPath>

#include "windows/artwork/artwork.h"

namespace tempodial::drawing {

// One small palette for every picture: deep teal, warm amber and white.
inline constexpr QRgb kInk = 0xff0b3442;
inline constexpr QRgb kTeal = 0xff11707f;
inline constexpr QRgb kTealLight = 0xff1f93a1;
inline constexpr QRgb kAmber = 0xfff5a623;
inline constexpr QRgb kAmberDark = 0xffc9780a;
inline constexpr QRgb kWhite = 0xffffffff;
inline constexpr QRgb kMist = 0xffe3f1f3;

// A picture this many device pixels wide or fewer is drawn with heavier
// strokes and without fine detail.
inline constexpr int kSmallPixels = 24;

// The pictures are drawn in a square of 100 x 100 units.
inline constexpr qreal kUnits = 100.0;
// Where the dial of the application's stopwatch is centred.
inline constexpr QPointF kDialCentre(46, 55);

QPen strokePen(QRgb colour, qreal width, Qt::PenCapStyle cap = Qt::RoundCap);
void fillEllipse(QPainter& p, QPointF centre, qreal radius, QRgb colour);
// Clears a disc out of what is drawn so far, so that a badge laid on top
// stands apart from the picture behind it.
void clearDisc(QPainter& p, QPointF centre, qreal radius);
// A telephone handset lying on its back, centred on the origin and about 100
// units long: the handle bows upwards, the ear and mouth pieces hang below.
QPainterPath handsetPath();
// The handset's path drawn at `centre`, `length` units long, turned by `angle`.
void paintHandset(QPainter& p, QPointF centre, qreal length, qreal angle, QRgb colour);
void paintCoin(QPainter& p, QPointF centre, qreal radius, bool small);
// A stopwatch case: the crown and side button, the ring and the white face;
// returns the radius of the face.
qreal paintStopwatch(QPainter& p, QPointF c, qreal r, bool small);
// The clock hand from the centre to `degrees` clockwise from twelve, with the
// time gone by shown as an amber sector behind it.
void paintElapsed(QPainter& p, QPointF c, qreal face, qreal degrees, bool small);
// An open tray, with room above it for what goes in or comes out.
void paintTray(QPainter& p, bool small);
// A straight arrow up or down the middle, from `from` to its tip at `to`.
void paintArrow(QPainter& p, qreal x, qreal from, qreal to, qreal shaft, qreal head, QRgb colour);

// The picture of `art` in the square of kUnits; `small` takes the simpler drawing.
void paintArt(QPainter& p, Art art, bool small);
// The status area's picture of the clock, running or stopped.
void paintClockState(QPainter& p, bool running, bool small);

}  // namespace tempodial::drawing

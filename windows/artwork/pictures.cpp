// The pictures of the application icon, the buttons and the status area.
#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QtMath>

#include <cmath>

#include "windows/artwork/drawing.h"

namespace tempodial::drawing {
namespace {

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

}  // namespace

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

}  // namespace tempodial::drawing

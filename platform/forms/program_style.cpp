#include "platform/forms/program_style.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QGroupBox>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QStyleOption>

namespace tempodial {
namespace {

// A double chevron pointing along the bar ("more"), in the palette's text
// colour, painted afresh at every size.
class ChevronEngine final : public QIconEngine {
 public:
  ChevronEngine(bool vertical, bool mirrored) : vertical_(vertical), mirrored_(mirrored) {}

  QIconEngine* clone() const override { return new ChevronEngine(vertical_, mirrored_); }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    const QPalette colours = QApplication::palette();
    const QColor ink = colours.color(
        mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active, QPalette::ButtonText);
    const qreal side = qMin(rect.width(), rect.height());
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(QRectF(rect).center());
    painter->rotate(vertical_ ? 90 : (mirrored_ ? 180 : 0));
    painter->scale(side / 16, side / 16);
    QPainterPath chevrons;
    for (qreal x : {-4.0, 1.0}) {
      chevrons.moveTo(x - 1.5, -4);
      chevrons.lineTo(x + 2.5, 0);
      chevrons.lineTo(x - 1.5, 4);
    }
    painter->setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->drawPath(chevrons);
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return pixmap;
  }

 private:
  bool vertical_;
  bool mirrored_;
};

}  // namespace

ProgramStyle::ProgramStyle(QStyle* base) : QProxyStyle(base) {}

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                 const QWidget* widget) const {
  if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton) {
    const bool mirrored =
        (option != nullptr ? option->direction : QGuiApplication::layoutDirection()) ==
        Qt::RightToLeft;
    return QIcon(new ChevronEngine(icon == SP_ToolBarVerticalExtensionButton, mirrored));
  }
  return QProxyStyle::standardIcon(icon, option, widget);
}

void ProgramStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
  if (element == PE_FrameGroupBox && baseStyle()->name() == QLatin1String("fusion")) {
    // Fusion's frame, drawn as Fusion draws it, from its own picture read
    // as the PNG it is rather than offered to every image plugin.
    if (groupBoxFrame_.isNull()) {
      QImageReader reader(
          QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"), "png");
      reader.setAutoDetectImageFormat(false);
      groupBoxFrame_ = QPixmap::fromImage(reader.read());
    }
    const auto* box = qobject_cast<const QGroupBox*>(widget);
    constexpr int kTopMargin = 3;
    const int top =
        box != nullptr && !box->isCheckable() && box->title().isEmpty()
            ? kTopMargin
            : qMax(pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height()) +
                  kTopMargin;
    qDrawBorderPixmap(painter, option->rect.adjusted(0, top, 0, 0), QMargins(6, 6, 6, 6),
                      groupBoxFrame_);
    return;
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

}  // namespace tempodial

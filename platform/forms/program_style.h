// The program's style: the desktop's own, reading no picture file to draw
// the main window. Reading one through Qt's usual path makes it load every
// image plugin it has (about 280 KiB at start-up): the extension arrows of
// menu bars, pictures read as each menu bar is made, are drawn in code, and
// Fusion's group box frame is read as the PNG it is.
#pragma once

#include <QPixmap>
#include <QProxyStyle>

namespace tempodial {

class ProgramStyle : public QProxyStyle {
  Q_OBJECT

 public:
  // Wraps `base`, or the application's style; install with
  // QApplication::setStyle.
  explicit ProgramStyle(QStyle* base = nullptr);

  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

 private:
  mutable QPixmap groupBoxFrame_;
};

}  // namespace tempodial

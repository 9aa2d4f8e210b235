#include "platform/forms/picture_box.h"

#include <QPaintEvent>
#include <QPainter>

namespace tempodial {

PictureBox::PictureBox(QWidget* parent, const QString& name, const QString& accessibleName)
    : QWidget(parent) {
  setObjectName(name);
  setAccessibleName(accessibleName);
}

void PictureBox::setImage(const QImage& image) {
  image_ = image;
  updateGeometry();
  update();
}

QSize PictureBox::sizeHint() const {
  return (QSizeF(image_.size()) / image_.devicePixelRatio()).toSize();
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setClipRegion(event->region());
  painter.drawImage(QPointF(0, 0), image_);
}

}  // namespace tempodial

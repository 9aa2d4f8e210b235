#include "windows/artwork.h"

#include <QApplication>
#include <QStyle>

namespace tempodial {

QIcon artIcon(Art) { return QApplication::style()->standardIcon(QStyle::SP_ComputerIcon); }

QPixmap splashPicture(qreal) {
  QPixmap picture(384, 288);
  picture.fill(Qt::darkBlue);
  return picture;
}

}  // namespace tempodial

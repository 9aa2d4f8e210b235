// A picture control: shows an image at its own size from the top left
// corner, cut off where the control is smaller. The image may be a view of
// bytes kept elsewhere (the program's stored pictures): it is drawn as it is,
// never copied into a pixmap.
#pragma once

#include <QImage>
#include <QWidget>

namespace tempodial {

class PictureBox : public QWidget {
  Q_OBJECT

 public:
  PictureBox(QWidget* parent, const QString& name, const QString& accessibleName);

  const QImage& image() const { return image_; }
  void setImage(const QImage& image);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};

}  // namespace tempodial

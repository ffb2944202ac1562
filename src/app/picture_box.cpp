// The picture boxes of the main window.
#include "app/picture_box.h"

#include <QPainter>

namespace kinetta::app {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void PictureBox::setImage(const QImage& image) {
  image_ = image;
  update();
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  if (!image_.isNull()) painter.drawImage(0, 0, image_);
}

}  // namespace kinetta::app

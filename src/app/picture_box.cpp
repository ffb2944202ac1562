// The picture boxes of the main window, and pictures reduced for showing.
#include "app/picture_box.h"

#include <QPainter>
#include <bit>

namespace kinetta::app {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void PictureBox::setImage(const QImage& image) {
  image_ = image;
  shown_ = QImage();
  update();
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  if (image_.isNull()) return;
  if (image_.width() <= width() && image_.height() <= height()) {
    painter.drawImage(0, 0, image_);
    return;
  }
  // The box has the picture's proportions; scaling once per size keeps repainting cheap.
  if (shown_.size() != size()) {
    shown_ = image_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  painter.drawImage(0, 0, shown_);
}

QImage ImageForShowing(const render::Surface& picture, PixelSize bound) {
  if (picture.empty()) return {};
  return ImageOfSize(picture, FittedSize({picture.width(), picture.height()}, bound));
}

QImage ImageOfSize(const render::Surface& picture, PixelSize size) {
  if (picture.empty()) return {};
  // The surface's packed colours (red in the low byte, the top byte unused) are the bytes
  // R, G, B, X in memory: Qt reads them in place as RGBX8888 and scales without a full copy.
  static_assert(std::endian::native == std::endian::little);
  const QImage view(reinterpret_cast<const uchar*>(picture.Row(0)), picture.width(),
                    picture.height(), static_cast<qsizetype>(picture.width()) * 4,
                    QImage::Format_RGBX8888);
  const QImage shown =
      size.width == picture.width() && size.height == picture.height()
          ? view
          : view.scaled(size.width, size.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  // The unused byte is 0 in a surface; as an opaque RGB32 image the picture paints the same
  // everywhere.
  QImage rgb(shown.size(), QImage::Format_RGB32);
  for (int y = 0; y < shown.height(); ++y) {
    const uchar* src = shown.constScanLine(y);
    QRgb* dst = reinterpret_cast<QRgb*>(rgb.scanLine(y));
    for (int x = 0; x < shown.width(); ++x) {
      dst[x] = qRgb(src[4 * x], src[4 * x + 1], src[4 * x + 2]);
    }
  }
  return rgb;
}

QImage ImageForShowing(const QImage& picture, PixelSize bound) {
  const PixelSize size = FittedSize({picture.width(), picture.height()}, bound);
  if (size.width == picture.width() && size.height == picture.height()) return picture;
  return picture.scaled(size.width, size.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace kinetta::app

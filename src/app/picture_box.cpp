// The picture boxes of the main window, and pictures reduced for showing.
#include "app/picture_box.h"

#include <QPainter>
#include <algorithm>
#include <bit>

#include "image/picture_file.h"
#include "render/transparency.h"
#include "ui_support/checkerboard.h"

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
    ui::DrawOverCheckerboard(painter, QRectF(QPointF(0, 0), image_.deviceIndependentSize()),
                             image_);
    return;
  }
  // The box has the picture's proportions; scaling once per size keeps repainting cheap.
  if (shown_.size() != size()) {
    shown_ = image_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  ui::DrawOverCheckerboard(painter, QRectF(QPointF(0, 0), shown_.deviceIndependentSize()), shown_);
}

namespace {

// `image` scaled smoothly to `size`, unless it has that size already.
QImage Scaled(const QImage& image, PixelSize size) {
  if (size.width == image.width() && size.height == image.height()) return image;
  return image.scaled(size.width, size.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool SeeThrough(const render::Surface& s) {
  for (int y = 0; y < s.height(); ++y) {
    const std::uint32_t* row = s.Row(y);
    if (std::any_of(row, row + s.width(), [](std::uint32_t c) {
          return !render::IsOpaque(static_cast<render::Colour>(c));
        })) {
      return true;
    }
  }
  return false;
}

}  // namespace

QImage ImageForShowing(const render::Surface& picture, PixelSize bound) {
  if (picture.empty()) return {};
  return ImageOfSize(picture, FittedSize({picture.width(), picture.height()}, bound));
}

QImage ImageOfSize(const render::Surface& picture, PixelSize size) {
  if (picture.empty()) return {};
  // Scaled with its alpha, so that the colour of clear pixels does not bleed into their
  // neighbours.
  if (SeeThrough(picture)) return Scaled(image::ImageFromSurface(picture), size);
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
  return Scaled(picture, FittedSize({picture.width(), picture.height()}, bound));
}

QImage ImageForShowing(const image::Picture& picture, PixelSize bound) {
  if (!picture.hasAlpha) return ImageForShowing(picture.pixels, bound);
  const render::Surface& s = picture.pixels;
  if (s.empty()) return {};
  // A picture's packed colours with their opacity in the top byte are the bytes R, G, B, A in
  // memory: Qt reads them in place as RGBA8888 and scales without a copy of the whole.
  static_assert(std::endian::native == std::endian::little);
  const QImage view(reinterpret_cast<const uchar*>(s.Row(0)), s.width(), s.height(),
                    static_cast<qsizetype>(s.width()) * 4, QImage::Format_RGBA8888);
  return Scaled(view, FittedSize({s.width(), s.height()}, bound))
      .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace kinetta::app

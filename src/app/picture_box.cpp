// The picture boxes of the main window, and pictures reduced for showing.
#include "app/picture_box.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <bit>
#include <vector>

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

// Which way a surface keeps its transparency in the top byte.
enum class TopByte { Opacity, Transparency };

// `s` with transparency reduced to `size` (no larger than `s`): each shown pixel averages the
// pixels it covers, their colours weighted by their opacity, so that a clear pixel's colour
// bleeds into none. Read straight from the surface, so that no copy of the whole is made. The
// image has straight alpha.
QImage ReducedWithOpacity(const render::Surface& s, PixelSize size, TopByte top) {
  const int w = size.width, h = size.height;
  if (w < 1 || h < 1) return {};
  QImage out(w, h, QImage::Format_ARGB32);
  std::vector<int> column(static_cast<std::size_t>(s.width()));
  for (int x = 0; x < s.width(); ++x) {
    column[static_cast<std::size_t>(x)] =
        static_cast<int>(static_cast<long long>(x) * w / s.width());
  }
  // Per shown pixel of the row: pixels covered, their opacity, and each colour part times it.
  std::vector<std::array<std::uint64_t, 5>> sums(static_cast<std::size_t>(w));
  int y = 0;
  for (int oy = 0; oy < h; ++oy) {
    std::fill(sums.begin(), sums.end(), std::array<std::uint64_t, 5>{});
    const int end = static_cast<int>(static_cast<long long>(oy + 1) * s.height() / h);
    for (; y < end; ++y) {
      const std::uint32_t* row = s.Row(y);
      for (int x = 0; x < s.width(); ++x) {
        const std::uint32_t c = row[x];
        const std::uint32_t a = top == TopByte::Opacity ? c >> 24 : 255 - (c >> 24);
        std::array<std::uint64_t, 5>& t =
            sums[static_cast<std::size_t>(column[static_cast<std::size_t>(x)])];
        t[0] += 1;
        t[1] += a;
        for (int part = 0; part < 3; ++part) t[2 + part] += a * ((c >> (8 * part)) & 0xFF);
      }
    }
    QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(oy));
    for (int ox = 0; ox < w; ++ox) {
      const std::array<std::uint64_t, 5>& t = sums[static_cast<std::size_t>(ox)];
      if (t[1] == 0) {
        dst[ox] = 0;
        continue;
      }
      auto part = [&t](int i) { return static_cast<int>((t[i] + t[1] / 2) / t[1]); };
      dst[ox] = qRgba(part(2), part(3), part(4), static_cast<int>((t[1] + t[0] / 2) / t[0]));
    }
  }
  return out;
}

}  // namespace

QImage ImageForShowing(const render::Surface& picture, PixelSize bound) {
  if (picture.empty()) return {};
  return ImageOfSize(picture, FittedSize({picture.width(), picture.height()}, bound));
}

QImage ImageOfSize(const render::Surface& picture, PixelSize size) {
  if (picture.empty()) return {};
  if (SeeThrough(picture)) {
    if (size.width > picture.width() || size.height > picture.height()) {
      return Scaled(image::ImageFromSurface(picture), size);
    }
    return ReducedWithOpacity(picture, size, TopByte::Transparency);
  }
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
  if (picture.pixels.empty()) return {};
  return ReducedWithOpacity(picture.pixels,
                            FittedSize({picture.pixels.width(), picture.pixels.height()}, bound),
                            TopByte::Opacity);
}

}  // namespace kinetta::app

// Surfaces to and from QImage, for the desktop program's picture frames.
#include <QImage>

#include "image/picture_file.h"

namespace kinetta::image {

render::Surface SurfaceFromImage(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  const int w = rgb.width(), h = rgb.height();
  render::Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    const QRgb* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    std::uint32_t* dst = s.Row(y);
    // 0xAARRGGBB to red in the low byte: red and blue change places, alpha goes.
    for (int x = 0; x < w; ++x) {
      const std::uint32_t c = src[x];
      dst[x] = ((c >> 16) & 0xFFu) | (c & 0xFF00u) | ((c & 0xFFu) << 16);
    }
  }
  return s;
}

QImage ImageFromSurface(const render::Surface& surface) {
  const int w = surface.width(), h = surface.height();
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* src = surface.Row(y);
    QRgb* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const std::uint32_t c = src[x];
      dst[x] = 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    }
  }
  return image;
}

}  // namespace kinetta::image

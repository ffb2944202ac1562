// Surfaces and pictures to and from QImage, for the desktop program's picture frames.
#include <QImage>

#include "image/picture_file.h"
#include "render/transparency.h"

namespace kinetta::image {

namespace {

// 0x??BBGGRR to 0xAARRGGBB: red and blue change places, the alpha is given.
constexpr QRgb Argb(std::uint32_t c, std::uint32_t alpha) {
  return (alpha << 24) | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

}  // namespace

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
  QImage image(w, h, QImage::Format_ARGB32);
  bool seeThrough = false;
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* src = surface.Row(y);
    QRgb* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const std::uint32_t c = src[x];
      seeThrough |= !render::IsOpaque(static_cast<render::Colour>(c));
      dst[x] =
          Argb(c, static_cast<std::uint32_t>(render::OpacityOf(static_cast<render::Colour>(c))));
    }
  }
  // Every alpha is 255 in an opaque surface: the same bytes read as RGB32.
  if (!seeThrough) image.reinterpretAsFormat(QImage::Format_RGB32);
  return image;
}

QImage ImageFromPicture(const Picture& picture) {
  if (!picture.hasAlpha) return ImageFromSurface(picture.pixels);
  const render::Surface& s = picture.pixels;
  QImage image(s.width(), s.height(), QImage::Format_ARGB32);
  for (int y = 0; y < s.height(); ++y) {
    const std::uint32_t* src = s.Row(y);
    QRgb* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
    // A picture keeps its opacity itself in the top byte.
    for (int x = 0; x < s.width(); ++x) dst[x] = Argb(src[x], src[x] >> 24);
  }
  return image;
}

}  // namespace kinetta::image

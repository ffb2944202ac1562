// Picture loading through QImageReader, with size checks before decoding and a check for
// truncated JPEG data, which the decoder would otherwise fill with grey and call a success.
#include "image/picture_file.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <mutex>

#include "base/messages.h"
#include "base/path_helpers.h"

namespace kinetta::image {

namespace {

// A JPEG stream ends with the end-of-image marker FF D9 after its last scan; a file cut short
// lacks it.
bool JpegLooksComplete(const QByteArray& data) {
  const qsizetype lastScan = data.lastIndexOf(QByteArray("\xFF\xDA", 2));
  if (lastScan < 0) return false;
  return data.indexOf(QByteArray("\xFF\xD9", 2), lastScan + 2) >= 0;
}

// An uncompressed BMP holds all its rows after the pixel-data offset; the decoder reads a file
// cut short without complaint, so check the length the header promises.
bool BmpLooksComplete(const QByteArray& data) {
  if (data.size() < 54) return false;
  auto u32 = [&](int at) {
    return static_cast<quint32>(static_cast<quint8>(data[at])) |
           (static_cast<quint32>(static_cast<quint8>(data[at + 1])) << 8) |
           (static_cast<quint32>(static_cast<quint8>(data[at + 2])) << 16) |
           (static_cast<quint32>(static_cast<quint8>(data[at + 3])) << 24);
  };
  const quint32 offset = u32(10);
  const qint64 width = static_cast<qint32>(u32(18));
  const qint64 height = std::abs(static_cast<qint64>(static_cast<qint32>(u32(22))));
  const int bits = static_cast<quint8>(data[28]) | (static_cast<quint8>(data[29]) << 8);
  const quint32 compression = u32(30);
  if (compression != 0 && compression != 3) return true;  // run-length data has no fixed size
  const qint64 rowBytes = (width * bits + 31) / 32 * 4;
  return static_cast<qint64>(data.size()) >= static_cast<qint64>(offset) + rowBytes * height;
}

// The readers' allocation limit is one setting for the whole process, read by every reader on
// any thread: it is set once, before the first picture is read, and never written again.
void AllowLargestPicture() {
  static std::once_flag once;
  std::call_once(once, [] {
    // Room for the decoded picture (4 bytes a pixel) and no more.
    QImageReader::setAllocationLimit(
        static_cast<int>(std::max<long long>(256, kMaxPicturePixels * 4 / (1024 * 1024) + 64)));
  });
}

}  // namespace

base::Result<render::Surface> LoadPicture(const std::string& path) {
  auto fail = [&] { return base::Result<render::Surface>::Failed(base::CannotOpenMessage(path)); };
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return fail();
  const QByteArray data = file.readAll();
  file.close();

  QByteArray bytes = data;  // QBuffer needs a non-const array it can point into
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setAutoTransform(false);
  const QSize size = reader.size();
  if (!size.isValid() || size.width() < 1 || size.height() < 1 ||
      static_cast<long long>(size.width()) * size.height() > kMaxPicturePixels) {
    return fail();
  }
  const QByteArray format = reader.format();
  if ((format == "jpeg" || format == "jpg") && !JpegLooksComplete(data)) return fail();
  if (format == "bmp" && !BmpLooksComplete(data)) return fail();

  AllowLargestPicture();
  QImage image;
  if (!reader.read(&image) || image.isNull() || image.size() != size) return fail();
  return SurfaceFromImage(image);
}

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

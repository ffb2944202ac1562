// BMP pictures by a reader of the program's own: the headers are read and checked by
// bmp::ReadLayout, run-length data decoded by bmp::DecodeRle; plain rows of 1, 4, 8, 16, 24 and
// 32 bits a pixel, bottom-up or top-down, are decoded here, from a file held whole or straight
// from the file in bands of rows on all cores.
#include <algorithm>
#include <climits>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "base/regular_file.h"
#include "image/bmp_layout.h"
#include "render/run_parts.h"

namespace kinetta::image {

namespace {

std::uint32_t ChannelValue(std::uint32_t pixel, const bmp::Channel& c) {
  if (c.bits == 0) return 0;
  const std::uint64_t v = (pixel & c.mask) >> c.shift;
  if (c.bits == 8) return static_cast<std::uint32_t>(v);
  const std::uint64_t most = (std::uint64_t{1} << c.bits) - 1;
  return static_cast<std::uint32_t>((v * 255 + most / 2) / most);
}

std::uint32_t LittleEndian(const std::uint8_t* p, int bytes) {
  std::uint32_t v = 0;
  for (int b = bytes - 1; b >= 0; --b) v = (v << 8) | p[b];
  return v;
}

// The colour, and the opacity in the top byte where the layout has an alpha channel (0 otherwise).
std::uint32_t MaskedColour(const bmp::Layout& l, std::uint32_t pixel) {
  return PackRgb(ChannelValue(pixel, l.red), ChannelValue(pixel, l.green),
                 ChannelValue(pixel, l.blue)) |
         (ChannelValue(pixel, l.alpha) << 24);
}

// One stored row into the picture, one loop per depth. False for a colour index outside the
// colour table.
bool PutRow(const bmp::Layout& l, const std::uint8_t* in, std::uint32_t* out) {
  const auto width = static_cast<std::size_t>(l.width);
  switch (l.bitsPerPixel) {
    case 1:
    case 4:
    case 8: {
      const auto bits = static_cast<std::size_t>(l.bitsPerPixel);
      const std::uint32_t indexMask = (1u << bits) - 1;
      for (std::size_t x = 0; x < width; ++x) {
        const std::size_t bit = x * bits;
        const std::size_t index = (in[bit / 8] >> (8 - bits - bit % 8)) & indexMask;
        if (index >= l.palette.size()) return false;
        out[x] = l.palette[index];
      }
      return true;
    }
    case 16:
      for (std::size_t x = 0; x < width; ++x) out[x] = MaskedColour(l, LittleEndian(in + 2 * x, 2));
      return true;
    case 24:
      for (std::size_t x = 0; x < width; ++x) {
        out[x] = PackRgb(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
      }
      return true;
    default:
      if (l.red.bits == 8 && l.green.bits == 8 && l.blue.bits == 8 &&
          (l.alpha.bits == 0 || l.alpha.bits == 8)) {
        // Whole bytes, as nearly every 32-bit file has them: no scaling, a shift each.
        const std::uint32_t alphaMask = l.alpha.bits == 8 ? 0xFFu : 0u;
        for (std::size_t x = 0; x < width; ++x) {
          const std::uint32_t pixel = LittleEndian(in + 4 * x, 4);
          out[x] = PackRgb((pixel >> l.red.shift) & 0xFF, (pixel >> l.green.shift) & 0xFF,
                           (pixel >> l.blue.shift) & 0xFF) |
                   (((pixel >> l.alpha.shift) & alphaMask) << 24);
        }
        return true;
      }
      for (std::size_t x = 0; x < width; ++x) out[x] = MaskedColour(l, LittleEndian(in + 4 * x, 4));
      return true;
  }
}

// The buffers the bands are read into, one per thread at work: a band takes one (made when
// none is free) and gives it back for the next band. Room is kept for one per thread, so giving
// one back never allocates.
class BandBuffers {
 public:
  BandBuffers(std::size_t bytes, int threads) : bytes_(bytes) {
    free_.reserve(static_cast<std::size_t>(threads));
  }

  std::unique_ptr<std::uint8_t[]> Take() {
    {
      std::lock_guard lock(m_);
      if (!free_.empty()) {
        std::unique_ptr<std::uint8_t[]> buffer = std::move(free_.back());
        free_.pop_back();
        return buffer;
      }
    }
    return std::make_unique_for_overwrite<std::uint8_t[]>(bytes_);
  }

  void Give(std::unique_ptr<std::uint8_t[]> buffer) {
    std::lock_guard lock(m_);
    free_.push_back(std::move(buffer));
  }

 private:
  std::size_t bytes_;
  std::mutex m_;
  std::vector<std::unique_ptr<std::uint8_t[]>> free_;
};

// The refusal of the first band in file order that failed, which is the one a reading of the
// whole file in order meets first: every band before a failed one was taken, so has ended.
class FirstFailure {
 public:
  void Note(int band, base::Status status) {
    std::lock_guard lock(m_);
    if (band < band_) {
      band_ = band;
      status_ = std::move(status);
    }
  }
  const base::Status& status() const { return status_; }

 private:
  std::mutex m_;
  int band_ = INT_MAX;
  base::Status status_;
};

}  // namespace

namespace bmp {

base::Status PutRows(const Layout& layout, int first, int count, const std::uint8_t* rows,
                     render::Surface& picture) {
  const std::size_t rowBytes = RowBytes(layout);
  for (int r = first; r < first + count; ++r) {
    const int y = layout.topDown ? r : layout.height - 1 - r;
    if (!PutRow(layout, rows, picture.Row(y))) return DataBroken("BMP");
    rows += rowBytes;
  }
  return base::Status::Ok();
}

Picture WithOpacity(const Layout& layout, render::Surface pixels) {
  Picture picture = PictureOf(std::move(pixels));
  if (layout.alpha.bits == 0) return picture;
  const render::Surface& s = picture.pixels;
  for (int y = 0; y < s.height(); ++y) {
    const std::uint32_t* row = s.Row(y);
    if (std::any_of(row, row + s.width(), [](std::uint32_t c) { return c > 0xFFFFFFu; })) {
      SettleOpacity(picture);
      break;
    }
  }
  return picture;
}

base::Result<Picture> DecodePlainFile(const Layout& layout, const base::RegularFile& file,
                                      std::size_t bandBytes) {
  const std::size_t rowBytes = RowBytes(layout);
  const auto bandRows = static_cast<int>(
      std::clamp<std::size_t>(bandBytes / rowBytes, 1, static_cast<std::size_t>(layout.height)));
  const int bands = (layout.height + bandRows - 1) / bandRows;
  const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  BandBuffers buffers(static_cast<std::size_t>(bandRows) * rowBytes, std::min(threads, bands));
  FirstFailure failure;
  // The picture's pages are taken as the bands write their rows, so on every thread at once.
  render::Surface picture = render::Surface::Unwritten(layout.width, layout.height);
  render::RunParts(threads, bands, [&](int band) {
    const int first = band * bandRows;
    const int rows = std::min(bandRows, layout.height - first);
    const std::size_t bytes = static_cast<std::size_t>(rows) * rowBytes;
    std::unique_ptr<std::uint8_t[]> buffer = buffers.Take();
    const base::Result<std::size_t> read = file.ReadAt(
        layout.pixelsAt + static_cast<std::size_t>(first) * rowBytes, {buffer.get(), bytes});
    base::Status status;
    if (!read.ok()) {
      status = read.status();
    } else if (read.value() < bytes) {  // the file shrank after its size was taken
      status = DataCutShort("BMP");
    } else {
      status = PutRows(layout, first, rows, buffer.get(), picture);
    }
    buffers.Give(std::move(buffer));
    if (status.ok()) return true;
    failure.Note(band, std::move(status));
    return false;
  });
  if (!failure.status().ok()) return failure.status();
  return WithOpacity(layout, std::move(picture));
}

}  // namespace bmp

base::Result<Picture> DecodeBmp(PictureBytes file, const DecodeLimits& limits) {
  const base::Result<bmp::Layout> read = bmp::ReadLayout(file, file.size(), limits);
  if (!read.ok()) return read.status();
  const bmp::Layout& layout = read.value();
  const PictureBytes pixels = file.subspan(layout.pixelsAt, layout.pixelBytes);
  render::Surface picture = render::Surface::Unwritten(layout.width, layout.height);
  if (layout.coding != bmp::Coding::Plain) {
    const base::Status decoded = bmp::DecodeRle(layout, pixels, picture);
    if (!decoded.ok()) return decoded;
    return PictureOf(std::move(picture));
  }
  if (base::Status put = bmp::PutRows(layout, 0, layout.height, pixels.data(), picture);
      !put.ok()) {
    return put;
  }
  return bmp::WithOpacity(layout, std::move(picture));
}

}  // namespace kinetta::image

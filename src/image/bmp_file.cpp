// 24-bit BMP encoding straight from the surface's rows.
#include "image/bmp_file.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <cstring>
#include <fstream>
#include <utility>

#include "base/atomic_file.h"
#include "render/transparency.h"
#include "render/vector_paths.h"

namespace kinetta::image {

namespace {

constexpr std::size_t kHeaderSize = 14 + 40;

void Put16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::size_t RowBytes(int width) {
  return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

}  // namespace

std::uint64_t Bmp24FileBytes(int width, int height) {
  return kHeaderSize + RowBytes(width) * static_cast<std::uint64_t>(std::max(height, 0));
}

namespace {

void WriteHeader(std::uint8_t* h, int width, int height) {
  const std::size_t imageSize = RowBytes(width) * static_cast<std::size_t>(height);
  std::memset(h, 0, kHeaderSize);
  h[0] = 'B';
  h[1] = 'M';
  Put32(h + 2, static_cast<std::uint32_t>(kHeaderSize + imageSize));
  Put32(h + 10, kHeaderSize);
  Put32(h + 14, 40);
  Put32(h + 18, static_cast<std::uint32_t>(width));
  Put32(h + 22, static_cast<std::uint32_t>(height));
  Put16(h + 26, 1);
  Put16(h + 28, 24);
  Put32(h + 34, static_cast<std::uint32_t>(imageSize));
  Put32(h + 38, 3780);  // 96 dots per inch
  Put32(h + 42, 3780);
}

// Pixels [x, x + n) of one surface row as BGR bytes.
std::uint8_t* EncodePixelsPlain(const std::uint32_t* row, int x, int n, std::uint8_t* out) {
  for (const std::uint32_t* p = row + x; p != row + x + n; ++p) {
    const std::uint32_t c = *p;
    out[0] = static_cast<std::uint8_t>(c >> 16);  // blue
    out[1] = static_cast<std::uint8_t>(c >> 8);   // green
    out[2] = static_cast<std::uint8_t>(c);        // red
    out += 3;
  }
  return out;
}

#if defined(__x86_64__)
// The same, four pixels at a time with one byte shuffle: 16 bytes are stored for every 12
// made, the 4 past them overwritten by the next group, so the loop stops while 6 pixels (18
// bytes) are still to come and the last ones go byte by byte: nothing is written past the
// pixels' own bytes.
__attribute__((target("ssse3"))) std::uint8_t* EncodePixelsShuffled(const std::uint32_t* row, int x,
                                                                    int n, std::uint8_t* out) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
  const std::uint32_t* p = row + x;
  const std::uint32_t* end = p + n;
  for (; end - p >= 6; p += 4, out += 12) {
    const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(four, order));
  }
  return EncodePixelsPlain(p, 0, static_cast<int>(end - p), out);
}

std::uint8_t* EncodePixels(const std::uint32_t* row, int x, int n, std::uint8_t* out) {
  static const bool shuffle = render::CanUse(render::VectorSet::Ssse3);
  return shuffle ? EncodePixelsShuffled(row, x, n, out) : EncodePixelsPlain(row, x, n, out);
}
#else
std::uint8_t* EncodePixels(const std::uint32_t* row, int x, int n, std::uint8_t* out) {
  return EncodePixelsPlain(row, x, n, out);
}
#endif

// Row y of the surface as BGR bytes, zero-padded.
void EncodeRow(const render::Surface& s, int y, std::uint8_t* out) {
  out = EncodePixels(s.Row(y), 0, s.width(), out);
  std::memset(out, 0, RowBytes(s.width()) - static_cast<std::size_t>(s.width()) * 3);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp24(const render::Surface& surface) {
  const std::size_t rowBytes = RowBytes(surface.width());
  std::vector<std::uint8_t> bytes(kHeaderSize +
                                  rowBytes * static_cast<std::size_t>(surface.height()));
  WriteHeader(bytes.data(), surface.width(), surface.height());
  for (int y = 0; y < surface.height(); ++y) {
    EncodeRow(surface, surface.height() - 1 - y,
              bytes.data() + kHeaderSize + rowBytes * static_cast<std::size_t>(y));
  }
  return bytes;
}

namespace {

// Encodes `count` rows of `width` pixels in the order they are stored (row(i) the i-th) into
// `piece`, which holds `used` bytes already, handing it to `flush` whenever it is full; flush
// empties it. A row wider than a piece is split between pieces; the last piece is flushed too.
template <typename RowAt, typename Flush>
base::Status EncodeRows(int width, int count, RowAt row, std::vector<std::uint8_t>& piece,
                        std::size_t& used, Flush flush) {
  const std::size_t capacity = piece.size();
  const std::size_t pad = RowBytes(width) - static_cast<std::size_t>(width) * 3;
  for (int i = 0; i < count; ++i) {
    const std::uint32_t* pixels = row(i);
    for (int x = 0; x < width;) {
      if (capacity - used < 3) {
        if (base::Status flushed = flush(); !flushed.ok()) return flushed;
      }
      const int n = static_cast<int>(
          std::min<std::size_t>(static_cast<std::size_t>(width - x), (capacity - used) / 3));
      EncodePixels(pixels, x, n, piece.data() + used);
      used += static_cast<std::size_t>(n) * 3;
      x += n;
    }
    if (capacity - used < pad) {
      if (base::Status flushed = flush(); !flushed.ok()) return flushed;
    }
    std::memset(piece.data() + used, 0, pad);
    used += pad;
  }
  return used == 0 ? base::Status::Ok() : flush();
}

// `row` (width pixels) laid over `matte` into `laid`; a row with no transparency as it is.
const std::uint32_t* LaidOver(const std::uint32_t* row, int width, render::Colour matte,
                              std::vector<std::uint32_t>& laid) {
  if (std::all_of(row, row + width, [](std::uint32_t c) { return c <= 0xFFFFFFu; })) return row;
  laid.resize(static_cast<std::size_t>(width));
  for (int x = 0; x < width; ++x) {
    laid[static_cast<std::size_t>(x)] =
        static_cast<std::uint32_t>(render::Over(static_cast<render::Colour>(row[x]), matte));
  }
  return laid.data();
}

// A whole BMP of `width` x `height`: the header, then the rows bottom-up as `rowFromTop(y)`
// gives them, handed to `write` a piece of `pieceBytes` at a time.
template <typename RowFromTop>
base::Status StreamRows(int width, int height, RowFromTop rowFromTop, const base::Writer& write,
                        std::size_t pieceBytes) {
  std::vector<std::uint8_t> piece(std::max<std::size_t>(pieceBytes, 64));
  WriteHeader(piece.data(), width, height);
  std::size_t used = kHeaderSize;
  auto flush = [&] {
    base::Status written = write(piece.data(), used);
    used = 0;
    return written;
  };
  return EncodeRows(
      width, height, [&](int i) { return rowFromTop(height - 1 - i); }, piece, used, flush);
}

}  // namespace

base::Status StreamBmp24Over(const render::Surface& surface, render::Colour matte,
                             const base::Writer& write) {
  std::vector<std::uint32_t> laid;
  return StreamRows(
      surface.width(), surface.height(),
      [&](int y) { return LaidOver(surface.Row(y), surface.width(), matte, laid); }, write,
      render::kFramePieceBytes);
}

base::Status StreamBmp24(const render::Surface& surface, const base::Writer& write,
                         std::size_t pieceBytes) {
  return StreamRows(
      surface.width(), surface.height(), [&](int y) { return surface.Row(y); }, write, pieceBytes);
}

Bmp24Strips::Bmp24Strips(int width, int height, WriteAt writeAt, std::size_t pieceBytes)
    : width_(width),
      height_(height),
      writeAt_(std::move(writeAt)),
      piece_(std::max<std::size_t>(pieceBytes, 64)) {}

base::Status Bmp24Strips::Header() {
  WriteHeader(piece_.data(), width_, height_);
  return writeAt_(0, piece_.data(), kHeaderSize);
}

base::Status Bmp24Strips::Rows(int first, int count, const std::uint32_t* const* rows) {
  // The strip's lowest row comes first in the file, and the strip's rows follow it upwards.
  std::uint64_t at =
      kHeaderSize + RowBytes(width_) * static_cast<std::uint64_t>(height_ - first - count);
  std::size_t used = 0;
  auto flush = [&] {
    base::Status written = writeAt_(at, piece_.data(), used);
    at += used;
    used = 0;
    return written;
  };
  return EncodeRows(
      width_, count,
      [&](int i) {
        const std::uint32_t* row = rows[count - 1 - i];
        return matte_ ? LaidOver(row, width_, *matte_, laid_) : row;
      },
      piece_, used, flush);
}

base::Status WriteBmp24(const render::Surface& surface, const std::filesystem::path& path) {
  return base::WriteFileAtomically(
      path, [&](const base::Writer& write) { return StreamBmp24(surface, write); });
}

bool IsBmp24File(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char h[34] = {};
  if (!in.read(reinterpret_cast<char*>(h), sizeof h)) return false;
  auto u32 = [&](int at) {
    return static_cast<std::uint32_t>(h[at]) | (static_cast<std::uint32_t>(h[at + 1]) << 8) |
           (static_cast<std::uint32_t>(h[at + 2]) << 16) |
           (static_cast<std::uint32_t>(h[at + 3]) << 24);
  };
  // The signature, an information header of at least 40 bytes, 24 bits a pixel, no compression.
  return h[0] == 'B' && h[1] == 'M' && u32(14) >= 40 && h[28] == 24 && h[29] == 0 && u32(30) == 0;
}

}  // namespace kinetta::image

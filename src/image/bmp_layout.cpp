// The BMP headers read and checked: OS/2 (12-byte) and Windows (40, 52, 56, 108, 124-byte)
// headers and the 64-byte OS/2 2 header, the bit depths and codings each allows (the format's
// kinds that are not read, such as 2 or 64 bits a pixel and OS/2's Huffman coding, told apart
// from broken files), the channel masks, the colour table, and the pixel data's place, each
// against the file's length. Only the file's first bytes are needed: the pixel data is placed
// from the file's size alone.
#include "image/bmp_layout.h"

#include <algorithm>
#include <bit>
#include <climits>

namespace kinetta::image::bmp {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kMasksAt = kFileHeaderBytes + 40;  // masks follow the 40-byte header

enum Compression : std::uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,  // Huffman 1D after an OS/2 2 header
  kJpeg = 4,       // run-length coded 24 bits after an OS/2 2 header
  kPng = 5,
  kAlphaBitFields = 6,
  kCmyk = 11,
  kCmykRle4 = 13,
};

base::Status Broken() { return DataBroken("BMP"); }
base::Status CutShort() { return DataCutShort("BMP"); }
base::Status Unsupported() { return VariantUnsupported("BMP"); }

std::uint32_t U16(PictureBytes f, std::size_t at) {
  return static_cast<std::uint32_t>(f[at] | (f[at + 1] << 8));
}
std::uint32_t U32(PictureBytes f, std::size_t at) { return U16(f, at) | (U16(f, at + 2) << 16); }

// A mask whose bits are one run; an empty mask gives a channel that is always 0.
bool MakeChannel(std::uint32_t mask, Channel& c) {
  c = Channel{mask, 0, 0};
  if (mask == 0) return true;
  c.shift = std::countr_zero(mask);
  const std::uint32_t run = mask >> c.shift;
  if ((run & (run + 1)) != 0) return false;
  c.bits = std::popcount(run);
  return true;
}

// The headers' fields that say how the pixels are stored.
struct Fields {
  std::uint32_t headerBytes = 0;
  long long width = 0, height = 0;
  std::uint32_t bits = 0, compression = kRgb, imageBytes = 0, colours = 0;

  bool os2() const { return headerBytes == 12 || headerBytes == 64; }
  // The masks that follow a 40-byte header (inside the larger headers they are part of it).
  std::size_t maskBytes() const {
    if (headerBytes != 40) return 0;
    return compression == kBitFields ? 12 : compression == kAlphaBitFields ? 16 : 0;
  }
};

base::Result<Fields> ReadFields(PictureBytes file) {
  Fields f;
  f.headerBytes = U32(file, kFileHeaderBytes);
  const auto known = {12u, 40u, 52u, 56u, 64u, 108u, 124u};
  if (std::find(known.begin(), known.end(), f.headerBytes) == known.end()) {
    return Unsupported();
  }
  if (file.size() < kFileHeaderBytes + f.headerBytes) {
    return CutShort();
  }
  if (f.headerBytes == 12) {  // OS/2: unsigned 16-bit sides, bottom-up, no compression
    f.width = U16(file, 18);
    f.height = U16(file, 20);
    f.bits = U16(file, 24);
    return f;
  }
  f.width = static_cast<std::int32_t>(U32(file, 18));
  f.height = static_cast<std::int32_t>(U32(file, 22));
  f.bits = U16(file, 28);
  f.compression = U32(file, 30);
  f.imageBytes = U32(file, 34);
  f.colours = U32(file, 46);
  return f;
}

// Channel masks at kMasksAt: no two overlapping, none beyond the pixel's bits, each one run. An
// alpha mask follows them in the headers of 56 bytes and more, and after a 40-byte header that
// says so; one that breaks those rules is ignored, and the picture read as opaque.
base::Status ReadMasks(PictureBytes file, const Fields& f, Layout& layout) {
  if (file.size() < kMasksAt + 12) return CutShort();
  const std::uint32_t r = U32(file, kMasksAt), g = U32(file, kMasksAt + 4),
                      b = U32(file, kMasksAt + 8);
  const std::uint32_t used = f.bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
  if ((r & g) || (r & b) || (g & b) || ((r | g | b) & ~used)) return Broken();
  const bool runs =
      MakeChannel(r, layout.red) && MakeChannel(g, layout.green) && MakeChannel(b, layout.blue);
  if (!runs) return Broken();
  const bool alphaMask = f.headerBytes >= 56 || f.compression == kAlphaBitFields;
  if (alphaMask && file.size() >= kMasksAt + 16) {
    const std::uint32_t a = U32(file, kMasksAt + 12);
    Channel alpha;
    if ((a & (r | g | b)) == 0 && (a & ~used) == 0 && MakeChannel(a, alpha)) layout.alpha = alpha;
  }
  return base::Status::Ok();
}

// The coding and, for 16 and 32 bits a pixel, the channels.
base::Status ReadCoding(PictureBytes file, const Fields& f, Layout& layout) {
  switch (f.compression) {
    case kRgb:
      if (f.bits == 1 || f.bits == 4 || f.bits == 8 || f.bits == 24) return base::Status::Ok();
      // Windows CE's 2 bits a pixel, and 64 with 16 bits a channel.
      if (f.headerBytes != 12 && (f.bits == 2 || f.bits == 64)) return Unsupported();
      if (f.headerBytes == 12 || (f.bits != 16 && f.bits != 32)) return Broken();
      if (f.bits == 16) {  // 5 bits each
        MakeChannel(0x7C00, layout.red);
        MakeChannel(0x03E0, layout.green);
        MakeChannel(0x001F, layout.blue);
      } else {
        MakeChannel(0xFF0000, layout.red);
        MakeChannel(0xFF00, layout.green);
        MakeChannel(0xFF, layout.blue);
      }
      return base::Status::Ok();
    case kRle8:
    case kRle4:
      // Run-length data is bottom-up by definition.
      if (f.bits != (f.compression == kRle8 ? 8u : 4u) || layout.topDown) return Broken();
      layout.coding = f.compression == kRle8 ? Coding::Rle8 : Coding::Rle4;
      return base::Status::Ok();
    case kBitFields:
      if (f.os2()) return f.bits == 1 ? Unsupported() : Broken();
      [[fallthrough]];
    case kAlphaBitFields:
      if (f.os2() || (f.bits != 16 && f.bits != 32)) return Broken();
      return ReadMasks(file, f, layout);
    case kJpeg:
      if (f.os2()) return f.bits == 24 ? Unsupported() : Broken();
      return Unsupported();
    case kPng:
      return f.os2() ? Broken() : Unsupported();
    default:
      // The CMYK kinds of Windows' printing.
      if (!f.os2() && f.compression >= kCmyk && f.compression <= kCmykRle4) return Unsupported();
      return Broken();
  }
}

// The colour table: as many entries as the header declares (all 2^bits when it says 0, as far
// as they fit before the pixel data), 3 bytes each after an OS/2 header, else 4.
base::Status ReadPalette(PictureBytes file, const Fields& f, std::size_t start,
                         std::size_t pixelsAt, Layout& layout) {
  const std::size_t entryBytes = f.headerBytes == 12 ? 3 : 4;
  const std::size_t most = std::size_t{1} << f.bits;
  std::size_t count = f.colours;
  if (count > most) return Broken();
  if (count == 0) count = std::min(most, (pixelsAt - start) / entryBytes);
  if (count == 0 || start + count * entryBytes > pixelsAt) return Broken();
  // The table ends before the pixel data and within kMostHeaderBytes, so this stops only a start
  // shorter than ReadLayout asks for: a file that shrank once its size was taken.
  if (start + count * entryBytes > file.size()) return CutShort();
  layout.palette.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* e = file.data() + start + i * entryBytes;
    layout.palette[i] = PackRgb(e[2], e[1], e[0]);
  }
  return base::Status::Ok();
}

// The pixel data: whole rows for plain data, the declared length (or the rest of the file) for
// run-length data.
base::Status PlacePixels(PictureBytes start, std::size_t fileBytes, const Fields& f,
                         std::size_t headersEnd, Layout& layout) {
  const std::size_t pixelsAt = U32(start, 10);
  if (pixelsAt > fileBytes) return CutShort();
  if (pixelsAt < headersEnd) return Broken();
  if (f.bits <= 8) {
    const base::Status palette = ReadPalette(start, f, headersEnd, pixelsAt, layout);
    if (!palette.ok()) return palette;
  }
  const std::size_t rest = fileBytes - pixelsAt;
  std::size_t bytes = rest;
  if (layout.coding == Coding::Plain) {
    bytes = RowBytes(layout) * static_cast<std::size_t>(layout.height);
  } else if (f.imageBytes != 0) {
    bytes = f.imageBytes;
  }
  if (bytes > rest) return CutShort();
  layout.pixelsAt = pixelsAt;
  layout.pixelBytes = bytes;
  return base::Status::Ok();
}

}  // namespace

std::size_t RowBytes(const Layout& l) {
  return (static_cast<std::size_t>(l.width) * static_cast<std::size_t>(l.bitsPerPixel) + 31) / 32 *
         4;
}

base::Result<Layout> ReadLayout(PictureBytes start, std::size_t fileBytes,
                                const DecodeLimits& limits) {
  if (start.size() < kFileHeaderBytes + 4 || start[0] != 'B' || start[1] != 'M') {
    return CutShort();
  }
  const base::Result<Fields> fields = ReadFields(start);
  if (!fields.ok()) return fields.status();
  const Fields& f = fields.value();
  if (f.width < 1 || f.height == 0 || f.height == INT_MIN) {
    return Broken();
  }
  const long long height = f.height < 0 ? -f.height : f.height;
  const base::Status fits = SizeFits(f.width, height, 0, limits);
  if (!fits.ok()) return fits;
  Layout layout;
  layout.width = static_cast<int>(f.width);
  layout.height = static_cast<int>(height);
  layout.topDown = f.height < 0;
  layout.bitsPerPixel = static_cast<int>(f.bits);
  base::Status step = ReadCoding(start, f, layout);
  if (step.ok()) {
    step =
        PlacePixels(start, fileBytes, f, kFileHeaderBytes + f.headerBytes + f.maskBytes(), layout);
  }
  if (!step.ok()) return step;
  return layout;
}

}  // namespace kinetta::image::bmp

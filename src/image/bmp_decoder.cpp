// BMP pictures by a reader of the program's own: the headers are read and checked by
// bmp::ReadLayout, run-length data decoded by bmp::DecodeRle; plain rows of 1, 4, 8, 16, 24 and
// 32 bits a pixel, bottom-up or top-down, are decoded here.
#include "image/bmp_layout.h"

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

std::uint32_t MaskedColour(const bmp::Layout& l, std::uint32_t pixel) {
  return PackRgb(ChannelValue(pixel, l.red), ChannelValue(pixel, l.green),
                 ChannelValue(pixel, l.blue));
}

// One stored row into the picture. False for a colour index outside the colour table.
bool PutRow(const bmp::Layout& l, const std::uint8_t* in, std::uint32_t* out) {
  const int bits = l.bitsPerPixel;
  for (int x = 0; x < l.width; ++x) {
    const auto i = static_cast<std::size_t>(x);
    switch (bits) {
      case 1:
      case 4:
      case 8: {
        const std::size_t bit = i * static_cast<std::size_t>(bits);
        const std::size_t index =
            (in[bit / 8] >> (8 - bits - static_cast<int>(bit % 8))) & ((1u << bits) - 1);
        if (index >= l.palette.size()) return false;
        out[x] = l.palette[index];
        break;
      }
      case 16:
        out[x] = MaskedColour(l, LittleEndian(in + 2 * i, 2));
        break;
      case 24:
        out[x] = PackRgb(in[3 * i + 2], in[3 * i + 1], in[3 * i]);
        break;
      default:
        out[x] = MaskedColour(l, LittleEndian(in + 4 * i, 4));
        break;
    }
  }
  return true;
}

}  // namespace

base::Result<render::Surface> DecodeBmp(PictureBytes file, const DecodeLimits& limits) {
  const base::Result<bmp::Layout> read = bmp::ReadLayout(file, limits);
  if (!read.ok()) return Refused(read.message());
  const bmp::Layout& layout = read.value();
  render::Surface picture = render::Surface::Unwritten(layout.width, layout.height);
  if (layout.coding != bmp::Coding::Plain) {
    const base::Status decoded = bmp::DecodeRle(layout, picture);
    if (!decoded.ok()) return Refused(decoded.message());
    return picture;
  }
  const std::size_t rowBytes = bmp::RowBytes(layout);
  for (int r = 0; r < layout.height; ++r) {
    const int y = layout.topDown ? r : layout.height - 1 - r;
    if (!PutRow(layout, layout.pixels.data() + static_cast<std::size_t>(r) * rowBytes,
                picture.Row(y))) {
      return Refused(BrokenReason("BMP"));
    }
  }
  return picture;
}

}  // namespace kinetta::image

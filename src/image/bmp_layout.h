// What a BMP file's headers say about its pixels, read and checked against the file before any
// pixel is decoded; shared by the readers of plain and run-length coded pixel data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/picture_decoders.h"

namespace kinetta::image::bmp {

enum class Coding { Plain, Rle8, Rle4 };

/// One colour channel of 16- and 32-bit pixels: the bits it takes and their number.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
};

struct Layout {
  int width = 0;
  int height = 0;        // always positive
  bool topDown = false;  // the first row in the file is the top row
  int bitsPerPixel = 0;
  Coding coding = Coding::Plain;
  std::vector<std::uint32_t> palette;  // packed colours, for 8 bits a pixel and fewer
  Channel red, green, blue;            // for 16 and 32 bits a pixel
  PictureBytes pixels;                 // the pixel data as far as the file holds it
};

/// Reads and checks the headers, the size against `limits`, the colour table or channel masks,
/// and the pixel data's place; fails with the reason.
base::Result<Layout> ReadLayout(PictureBytes file, const DecodeLimits& limits);

/// The bytes of one stored row of plain pixel data, padded to a multiple of 4.
std::size_t RowBytes(const Layout& layout);

/// Decodes run-length coded pixel data into `picture` (sized by the layout, rows unwritten),
/// writing every pixel or failing with the reason.
base::Status DecodeRle(const Layout& layout, render::Surface& picture);

}  // namespace kinetta::image::bmp

// What a BMP file's headers say about its pixels, read and checked against the file before any
// pixel is decoded; shared by the readers of plain and run-length coded pixel data, and by the
// reading of a file held whole and of one read in bands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/regular_file.h"
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
  Channel alpha;                       // their opacity, where the headers declare a mask for it
  std::size_t pixelsAt = 0;            // where the pixel data starts in the file
  std::size_t pixelBytes = 0;          // its length: whole rows, or what run-length data takes
};

/// The most bytes at the start of a file that the headers, channel masks and colour table can
/// take: the file header, the largest info header and a 256-entry table.
inline constexpr std::size_t kMostHeaderBytes = 14 + 124 + 256 * 4;

/// Reads and checks the headers, the size against `limits`, the colour table or channel masks,
/// and the pixel data's place in a file of `fileBytes` bytes whose first bytes are `start` (at
/// least kMostHeaderBytes of them, or the whole file); fails with the reason.
base::Result<Layout> ReadLayout(PictureBytes start, std::size_t fileBytes,
                                const DecodeLimits& limits);

/// The bytes of one stored row of plain pixel data, padded to a multiple of 4.
std::size_t RowBytes(const Layout& layout);

/// Decodes stored rows `first` .. `first + count - 1` of plain pixel data (rows in file order,
/// RowBytes apart from `rows` on) into their rows of `picture`. Fails (broken data) for a
/// colour index outside the colour table.
base::Status PutRows(const Layout& layout, int first, int count, const std::uint8_t* rows,
                     render::Surface& picture);

/// Decodes plain pixel data straight from `file`, whose headers gave `layout`: bands of whole
/// rows of about `bandBytes` (one row at least) are read into a buffer per thread and decoded
/// on all cores. Fails with the reason: a colour index outside the colour table, a file that
/// ends before the last row (it shrank after its size was taken), a read that failed.
base::Result<Picture> DecodePlainFile(const Layout& layout, const base::RegularFile& file,
                                      std::size_t bandBytes);

/// The picture of decoded `pixels`. With an alpha mask their top bytes hold its values: a
/// picture whose alpha is 0 throughout is opaque, as files that declare a mask they never fill
/// are meant to be, and keeps those zero top bytes; otherwise the opacity is settled as
/// SettleOpacity does.
Picture WithOpacity(const Layout& layout, render::Surface pixels);

/// Decodes run-length coded pixel data (`data`, the layout's pixel bytes) into `picture` (sized
/// by the layout, rows unwritten), writing every pixel or failing with the reason.
base::Status DecodeRle(const Layout& layout, PictureBytes data, render::Surface& picture);

}  // namespace kinetta::image::bmp

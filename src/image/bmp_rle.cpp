// Run-length coded BMP pixels (8 and 4 bits). The codes are read in file order, which is
// bottom-up; pixels that the codes skip (end of line, delta, end of bitmap) take colour index 0,
// so every pixel is set. A run past the end of its row, a move past the end of the picture, an
// index outside the colour table or data that ends before the last row is refused.
#include "image/bmp_layout.h"

namespace kinetta::image::bmp {

namespace {

// The position the codes write next, in file order: `row` 0 is the bottom row.
class RleCanvas {
 public:
  RleCanvas(const Layout& layout, render::Surface& picture) : layout_(layout), picture_(picture) {}

  bool Finished() const { return row_ >= layout_.height; }

  // Writes the next pixel; false past the end of the row or for an index outside the table.
  bool Put(std::size_t index) {
    if (Finished() || x_ >= layout_.width || index >= layout_.palette.size()) return false;
    Row()[x_++] = layout_.palette[index];
    return true;
  }

  // Moves to (x, row), giving every pixel passed over colour index 0. False past the picture.
  bool SkipTo(int x, int row) {
    if (row > layout_.height || x > layout_.width || (row == layout_.height && x > 0)) return false;
    while (row_ < row) {
      FillTo(layout_.width);
      ++row_;
      x_ = 0;
    }
    if (!Finished()) FillTo(x);
    x_ = x;
    return true;
  }

  bool EndOfLine() { return !Finished() && SkipTo(0, row_ + 1); }
  bool Delta(int dx, int dy) { return !Finished() && SkipTo(x_ + dx, row_ + dy); }
  void EndOfBitmap() { SkipTo(0, layout_.height); }

 private:
  std::uint32_t* Row() { return picture_.Row(layout_.height - 1 - row_); }
  void FillTo(int end) {
    for (std::uint32_t* p = Row(); x_ < end; ++x_) p[x_] = layout_.palette[0];
  }

  const Layout& layout_;
  render::Surface& picture_;
  int row_ = 0;
  int x_ = 0;
};

// The i-th index of a run whose byte (or bytes) hold two 4-bit indices or one 8-bit index.
std::size_t IndexAt(std::uint8_t byte, int i, bool fourBits) {
  if (!fourBits) return byte;
  return (i % 2 == 0) ? byte >> 4 : byte & 0x0F;
}

}  // namespace

base::Status DecodeRle(const Layout& layout, PictureBytes data, render::Surface& picture) {
  const bool fourBits = layout.coding == Coding::Rle4;
  RleCanvas canvas(layout, picture);
  const base::Status broken = DataBroken("BMP");
  const base::Status cutShort = DataCutShort("BMP");
  std::size_t at = 0;
  for (;;) {
    // Data that stops after the last row has every pixel; before it, the file was cut.
    if (data.size() - at < 2) return canvas.Finished() ? base::Status::Ok() : cutShort;
    const int count = data[at];
    const int code = data[at + 1];
    at += 2;
    if (count > 0) {  // a run of `count` pixels from one byte
      for (int i = 0; i < count; ++i) {
        if (!canvas.Put(IndexAt(static_cast<std::uint8_t>(code), i, fourBits))) return broken;
      }
    } else if (code == 0) {
      if (!canvas.EndOfLine()) return broken;
    } else if (code == 1) {
      canvas.EndOfBitmap();
      return base::Status::Ok();
    } else if (code == 2) {
      if (data.size() - at < 2) return cutShort;
      if (!canvas.Delta(data[at], data[at + 1])) return broken;
      at += 2;
    } else {  // `code` pixels stored as they are, padded to a whole number of 16-bit words
      const auto n = static_cast<std::size_t>(code);
      const std::size_t padded = ((fourBits ? (n + 1) / 2 : n) + 1) & ~std::size_t{1};
      if (data.size() - at < padded) return cutShort;
      for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t byte = data[at + (fourBits ? i / 2 : i)];
        if (!canvas.Put(IndexAt(byte, static_cast<int>(i), fourBits))) return broken;
      }
      at += padded;
    }
  }
}

}  // namespace kinetta::image::bmp

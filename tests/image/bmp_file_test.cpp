// 24-bit BMP frame files: header, bottom-up BGR rows with padding, atomic replacement.
#include "image/bmp_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "render/geometry.h"
#include "test_support.h"

namespace kinetta::image {
namespace {

std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TEST(Bmp, HeaderAndPaddedBottomUpRows) {
  render::Surface s(3, 2);
  s.PSet(0, 0, render::Compose(1, 2, 3));        // top-left
  s.PSet(2, 1, render::Compose(250, 251, 252));  // bottom-right
  const auto b = EncodeBmp24(s);
  ASSERT_EQ(b.size(), 54u + 12 * 2);  // rows of 9 bytes padded to 12
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(Get32(b, 2), b.size());
  EXPECT_EQ(Get32(b, 10), 54u);
  EXPECT_EQ(Get32(b, 18), 3u);
  EXPECT_EQ(Get32(b, 22), 2u);
  EXPECT_EQ(b[28], 24);
  // The first stored row is the bottom row: its last pixel is (250, 251, 252) as BGR.
  EXPECT_EQ(b[54 + 6], 252);
  EXPECT_EQ(b[54 + 7], 251);
  EXPECT_EQ(b[54 + 8], 250);
  // The top row comes second: its first pixel (1, 2, 3) as BGR.
  EXPECT_EQ(b[54 + 12], 3);
  EXPECT_EQ(b[54 + 14], 1);

  // Rows long enough to be encoded several pixels at a time: every pixel, and the padding.
  for (int width : {6, 7, 37}) {
    const render::Surface wide = test::CoordinatePicture(width, 3);
    const auto w = EncodeBmp24(wide);
    const std::size_t rowBytes = (width * 3 + 3) / 4 * 4;
    for (int y = 0; y < 3; ++y) {
      const std::size_t row = 54 + rowBytes * (2 - y);
      for (int x = 0; x < width; ++x) {
        const auto c = static_cast<std::uint32_t>(wide.Point(x, y));
        EXPECT_EQ(w[row + x * 3] | (w[row + x * 3 + 1] << 8) | (w[row + x * 3 + 2] << 16),
                  ((c & 0xFF) << 16) | (c & 0xFF00) | (c >> 16))
            << width << ": " << x << ", " << y;
      }
      for (std::size_t i = width * 3; i < rowBytes; ++i) EXPECT_EQ(w[row + i], 0) << width;
    }
  }
}

TEST(Bmp, WriteReplacesTheFileWithTheEncodedBytes) {
  test::TempFolder dir;
  const render::Surface s = test::CoordinatePicture(37, 5);
  std::ofstream(dir / "f.bmp") << "an older, longer file that is to be replaced entirely";
  ASSERT_TRUE(WriteBmp24(s, dir / "f.bmp").ok());
  std::ifstream in(dir / "f.bmp", std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(bytes, EncodeBmp24(s));
  // Replaced again: still one file, the newest content, no temporary left beside it.
  ASSERT_TRUE(WriteBmp24(test::CoordinatePicture(3, 3), dir / "f.bmp").ok());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_EQ(std::filesystem::file_size(dir / "f.bmp"),
            EncodeBmp24(test::CoordinatePicture(3, 3)).size());
}

// The file is handed on in pieces no larger than asked, splitting rows wider than a piece, and
// the pieces together are the whole file; a piece that cannot be written ends the encoding.
TEST(Bmp, StreamedPiecesMakeTheWholeFileAndStopAtAFailedWrite) {
  const struct {
    int width, height;
    std::size_t piece;
  } cases[] = {
      {7, 5, 64}, {50, 3, 100}, {50, 3, 152}, {33, 9, 1000}, {5, 1, render::kFramePieceBytes}};
  for (const auto& c : cases) {
    const render::Surface s = test::CoordinatePicture(c.width, c.height);
    std::vector<std::uint8_t> joined;
    std::size_t largest = 0;
    ASSERT_TRUE(StreamBmp24(
                    s,
                    [&](const void* data, std::size_t size) {
                      const auto* p = static_cast<const std::uint8_t*>(data);
                      joined.insert(joined.end(), p, p + size);
                      largest = std::max(largest, size);
                      return base::Status::Ok();
                    },
                    c.piece)
                    .ok());
    EXPECT_EQ(joined, EncodeBmp24(s)) << c.width << " x " << c.height << ", " << c.piece;
    EXPECT_LE(largest, c.piece) << c.width << " x " << c.height;
  }
  int calls = 0;
  const base::Status stopped = StreamBmp24(
      test::CoordinatePicture(40, 40),
      [&](const void*, std::size_t) {
        return ++calls < 3 ? base::Status::Ok()
                           : base::Status::Failed(base::Cause::NoSpace, "full");
      },
      64);
  EXPECT_EQ(stopped.cause(), base::Cause::NoSpace);
  EXPECT_EQ(calls, 3);
}

// Strips written in any order, each where its rows lie, make the same file: the last strip
// first here, in pieces smaller than a row.
TEST(Bmp, StripsInAnyOrderMakeTheWholeFile) {
  const struct {
    int width, height, strip;
    std::size_t piece;
  } cases[] = {{7, 5, 2, 64}, {50, 33, 32, 100}, {33, 9, 4, 1000}};
  for (const auto& c : cases) {
    const render::Surface s = test::CoordinatePicture(c.width, c.height);
    const std::vector<std::uint8_t> whole = EncodeBmp24(s);
    std::vector<std::uint8_t> file(whole.size(), 0xEE);
    std::size_t largest = 0;
    Bmp24Strips strips(
        c.width, c.height,
        [&](std::uint64_t at, const void* data, std::size_t size) {
          EXPECT_LE(at + size, file.size());
          std::copy_n(static_cast<const std::uint8_t*>(data), size, file.begin() + at);
          largest = std::max(largest, size);
          return base::Status::Ok();
        },
        c.piece);
    ASSERT_TRUE(strips.Header().ok());
    for (int first = (c.height - 1) / c.strip * c.strip; first >= 0; first -= c.strip) {
      const int count = std::min(c.strip, c.height - first);
      std::vector<const std::uint32_t*> rows;
      for (int y = first; y < first + count; ++y) rows.push_back(s.Row(y));
      ASSERT_TRUE(strips.Rows(first, count, rows.data()).ok());
    }
    EXPECT_EQ(file, whole) << c.width << " x " << c.height;
    EXPECT_LE(largest, c.piece);
  }
}

TEST(Bmp, FailedWriteKeepsTheOldFile) {
  test::TempFolder dir;
  const base::Status written = WriteBmp24(test::CoordinatePicture(2, 2), dir / "none" / "f.bmp");
  EXPECT_FALSE(written.ok());
  EXPECT_FALSE(written.message().empty());
}

}  // namespace
}  // namespace kinetta::image

// Picture files: good BMP, JPEG and GIF files read; only regular files are read, at once and
// by the path's own bytes in any encoding; a BMP read in bands is refused as one read whole;
// frame files read back exactly; surfaces and QImage convert both ways. The corpus of
// variants and broken files is in picture_decoders_test.cpp.
#include "image/picture_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/regular_file.h"
#include "image/bmp_file.h"
#include "image/picture_decoders.h"
#include "render/geometry.h"
#include "test_support.h"

namespace kinetta::image {
namespace {

std::string Data(const std::string& name) { return std::string(KINETTA_TEST_DATA) + "/" + name; }

class GoodPictureTest : public testing::TestWithParam<const char*> {};

TEST_P(GoodPictureTest, ReadsAtItsSize) {
  const base::Result<Picture> loaded = LoadPicture(Data(GetParam()));
  ASSERT_TRUE(loaded.ok()) << loaded.message();
  const render::Surface& s = loaded.value().pixels;
  EXPECT_EQ(s.width(), 8);
  EXPECT_EQ(s.height(), 6);
  // The gradient runs from red at the top to blue at the bottom.
  EXPECT_GT(render::RGBPart(s.Point(0, 0), 0), 200);
  EXPECT_GT(render::RGBPart(s.Point(0, 5), 2), 150);
}

INSTANTIATE_TEST_SUITE_P(Formats, GoodPictureTest,
                         testing::Values("good.bmp", "good.jpg", "good.gif"));

// A folder, a FIFO with no writer and endless devices are refused without a byte read or a
// wait; a FIFO opened for reading alone would block, /dev/zero would fill memory.
TEST(PictureFile, OnlyRegularFilesAreRead) {
  test::TempFolder dir;
  const std::string fifo = (dir / "pic.bmp").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string(KINETTA_TEST_DATA), std::string("/dev/zero"),
                                  std::string("/dev/urandom")}) {
    const base::Result<Picture> loaded = LoadPicture(path);
    EXPECT_FALSE(loaded.ok());
    EXPECT_EQ(loaded.message(), path + "が開けません。\n（通常のファイルではありません）");
    EXPECT_EQ(loaded.cause(), base::Cause::Unsupported);
  }
}

TEST(PictureFile, FileOverTheCapIsRefusedUnread) {
  test::TempFolder dir;
  const std::string path = (dir / "big.bmp").string();
  std::filesystem::copy_file(Data("good.bmp"), path);
  std::filesystem::resize_file(path, kMaxPictureFileBytes + 1);  // sparse: takes no disk
  const base::Result<Picture> loaded = LoadPicture(path);
  EXPECT_EQ(loaded.message(), path + "が開けません。\n（ファイルが大きすぎます）");
  EXPECT_EQ(loaded.cause(), base::Cause::TooLarge);
}

// A BMP file read in bands is refused as a file read whole is, in a late band as in the first:
// here 1024 x 2048 at 8 bits a pixel, two bands, with the headers and two-colour table of
// broken-bmp-index-outside-table.bmp. A file that shrinks once opened is cut short too.
TEST(PictureFile, BandsAreRefusedAsTheWholeFile) {
  test::TempFolder dir;
  const std::string path = (dir / "pic.bmp").string();
  std::ifstream in(Data("broken-bmp-index-outside-table.bmp"), std::ios::binary);
  std::vector<char> file(62);  // the pixel data starts at 62
  in.read(file.data(), 62);
  const auto put32 = [&file](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(v >> (8 * i));
  };
  put32(18, 1024);
  put32(22, 2048);
  file.resize(62 + 1024 * 2048, 1);
  const auto write = [&](std::size_t bytes) {
    std::ofstream(path, std::ios::binary).write(file.data(), static_cast<std::streamsize>(bytes));
  };
  write(file.size());
  ASSERT_TRUE(LoadPicture(path).ok());
  const auto refusal = [&path](const char* why) {
    return path + "が開けません。\n（BMP データが" + why + "）";
  };
  file.back() = 2;  // the last row in the file, the top row, holds an index past the table
  write(file.size());
  EXPECT_EQ(LoadPicture(path).message(), refusal("壊れています"));
  EXPECT_EQ(LoadPicture(path).cause(), base::Cause::BrokenData);
  write(file.size() - 1024 * 1024 - 10);  // cut in the pixel data
  EXPECT_EQ(LoadPicture(path).message(), refusal("途中で切れています"));

  write(file.size());
  const base::Result<base::RegularFile> opened =
      base::RegularFile::Open(path, kMaxPictureFileBytes);
  ASSERT_TRUE(opened.ok());
  std::filesystem::resize_file(path, file.size() - 100);
  EXPECT_EQ(ReadPicture(opened.value()).message(), "BMP データが途中で切れています");
}

// Names are bytes: a Latin-1 and a Shift_JIS name, neither of them UTF-8, load as they are.
TEST(PictureFile, NamesInAnyEncodingLoad) {
  test::TempFolder dir;
  for (const std::string name : {"caf\xE9.bmp", "\x83\x65\x83\x58\x83\x67.bmp"}) {
    const std::filesystem::path path = dir.path() / name;
    std::filesystem::copy_file(Data("good.bmp"), path);
    const base::Result<Picture> loaded = LoadPicture(path.native());
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    EXPECT_EQ(loaded.value().pixels.width(), 8);
  }
}

TEST(PictureFile, SurfaceAndImageConvertBothWays) {
  const render::Surface s = test::CoordinatePicture(300, 2);
  const QImage image = ImageFromSurface(s);
  EXPECT_EQ(image.pixel(299, 1), qRgb(299 & 0xFF, 1, 1));
  EXPECT_EQ(SurfaceFromImage(image), s);
}

TEST(PictureFile, FrameFilesReadBackExactly) {
  // Odd widths exercise the row padding of the frame files.
  for (int w : {1, 13, 16}) {
    test::TempFolder dir;
    const render::Surface s = test::CoordinatePicture(w, 7);
    ASSERT_TRUE(WriteBmp24(s, dir / "f.bmp").ok());
    const base::Result<Picture> back = LoadPicture((dir / "f.bmp").string());
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.value().pixels, s) << "width " << w;
  }
}

}  // namespace
}  // namespace kinetta::image

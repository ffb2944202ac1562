// Picture loading: good BMP, JPEG and GIF files read; a corpus of broken files gives the
// "cannot open" message and leaves the surface alone, never a crash or a huge allocation.
#include "image/picture_file.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <string>

#include "image/bmp_file.h"
#include "render/geometry.h"
#include "test_support.h"

namespace kinetta::image {
namespace {

std::string Data(const std::string& name) { return std::string(KINETTA_TEST_DATA) + "/" + name; }

class GoodPictureTest : public testing::TestWithParam<const char*> {};

TEST_P(GoodPictureTest, ReadsAtItsSize) {
  const base::Result<render::Surface> loaded = LoadPicture(Data(GetParam()));
  ASSERT_TRUE(loaded.ok()) << loaded.message();
  const render::Surface& s = loaded.value();
  EXPECT_EQ(s.width(), 8);
  EXPECT_EQ(s.height(), 6);
  // The gradient runs from red at the top to blue at the bottom.
  EXPECT_GT(render::RGBPart(s.Point(0, 0), 0), 200);
  EXPECT_GT(render::RGBPart(s.Point(0, 5), 2), 150);
}

INSTANTIATE_TEST_SUITE_P(Formats, GoodPictureTest,
                         testing::Values("good.bmp", "good.jpg", "good.gif"));

class BrokenPictureTest : public testing::TestWithParam<const char*> {};

TEST_P(BrokenPictureTest, GivesTheCannotOpenMessage) {
  const std::string path = Data(GetParam());
  const base::Result<render::Surface> loaded = LoadPicture(path);
  EXPECT_FALSE(loaded.ok());
  EXPECT_EQ(loaded.message(), path + "が開けません。");
}

INSTANTIATE_TEST_SUITE_P(Corpus, BrokenPictureTest,
                         testing::Values("missing.bmp", "empty.bmp", "not-a-picture.jpg",
                                         "truncated.bmp", "truncated.jpg", "truncated.gif",
                                         "corrupt.gif", "huge-header.bmp", "bad-size.bmp"));

// The readers' allocation limit is one setting for the whole process, read by readers on other
// threads: loading sets it once, to room for the largest picture accepted, and never again.
TEST(PictureFile, AllocationLimitIsSetOnceForTheLargestPicture) {
  ASSERT_TRUE(LoadPicture(Data("good.bmp")).ok());
  EXPECT_EQ(QImageReader::allocationLimit(), 1088);  // 16384 x 16384 x 4 bytes in MiB, + 64
  QImageReader::setAllocationLimit(1000);
  ASSERT_TRUE(LoadPicture(Data("good.jpg")).ok());
  EXPECT_EQ(QImageReader::allocationLimit(), 1000) << "a later load wrote the limit again";
  QImageReader::setAllocationLimit(1088);
}

TEST(PictureFile, FolderIsNotAPicture) { EXPECT_FALSE(LoadPicture(KINETTA_TEST_DATA).ok()); }

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
    const base::Result<render::Surface> back = LoadPicture((dir / "f.bmp").string());
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.value(), s) << "width " << w;
  }
}

}  // namespace
}  // namespace kinetta::image

// The frames a run left on the disk, as the HTML page finds them: how many follow each other from
// 00, and the size frame 00's header declares.
#include "image/frame_files.h"

#include <gtest/gtest.h>

#include <fstream>

#include "base/path_helpers.h"
#include "image/bmp_file.h"
#include "test_support.h"

namespace kinetta::image {
namespace {

// Frame 00 as other files than the run's BMP, declaring 30 x 20: their headers are all that is
// read.
const std::string kTopDownBmp =
    std::string("BM\0\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x1E\0\0\0\xEC\xFF\xFF\xFF", 26);
const std::string kPng = std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x1E\0\0\0\x14\0\0", 26);
const std::string kText = "not a picture at all, but long enough";

struct DiskCase {
  std::vector<int> present;  // frame numbers on the disk
  std::string frame00;       // what frame 00 holds; empty: a BMP like the others
  const char* extension;
  int count;
  int width;
  int height;
};

// Named by what is on the disk (gtest would otherwise print the case's bytes, padding included).
void PrintTo(const DiskCase& c, std::ostream* os) {
  *os << c.present.size() << " frames" << c.extension << ", frame 00 of " << c.frame00.size();
}

class FramesOnDiskTest : public testing::TestWithParam<DiskCase> {};

TEST_P(FramesOnDiskTest, CountsFromZeroUpToTheFirstGapAndTakesFrameZerosSize) {
  const DiskCase& c = GetParam();
  test::TempFolder temp;
  const std::string source = (temp / "cat.jpg").string();
  for (int n : c.present) {
    std::string name = base::FrameFileName(source, n);
    name.replace(name.size() - 4, 4, c.extension);
    if (n == 0 && !c.frame00.empty()) {
      std::ofstream(name, std::ios::binary) << c.frame00;
    } else {
      ASSERT_TRUE(WriteBmp24(render::Surface(30 + n, 20), name).ok());
    }
  }
  const FramesOnDisk found = FindFramesOnDisk(source, c.extension);
  EXPECT_EQ(found.count, c.count);
  EXPECT_EQ(found.width, c.width);
  EXPECT_EQ(found.height, c.height);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, FramesOnDiskTest,
    testing::Values(DiskCase{{0, 1, 2, 3, 4}, "", ".bmp", 5, 30, 20},
                    // an older, longer run's leftovers after the gap are not the page's
                    DiskCase{{0, 1, 2, 3, 4, 6, 7}, "", ".bmp", 5, 30, 20},
                    DiskCase{{}, "", ".bmp", 0, 0, 0}, DiskCase{{1, 2}, "", ".bmp", 0, 0, 0},
                    DiskCase{{0, 1}, kTopDownBmp, ".bmp", 2, 30, 20},
                    DiskCase{{0, 1, 2}, kPng, ".png", 3, 30, 20},
                    // a PNG frame under the BMP name is still measured by what it is
                    DiskCase{{0}, kPng, ".bmp", 1, 30, 20},
                    DiskCase{{0, 1}, kText, ".bmp", 2, 0, 0}));

}  // namespace
}  // namespace kinetta::image

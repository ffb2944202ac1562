// The frames a run left on the disk, as the HTML page finds them: how many follow each other from
// 00, and the size frame 00's header declares.
#include "image/frame_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "base/path_helpers.h"
#include "image/bmp_file.h"
#include "test_support.h"

namespace kinetta::image {
namespace {

enum class Kind { Bmp, TopDownBmp, Png, Text };

// The first bytes of a file of `kind` declaring `w` x `h`; a header is all that is read.
std::string Head(Kind kind, int w, int h) {
  auto le = [](std::uint32_t v) {
    return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  };
  auto be = [](std::uint32_t v) {
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  };
  switch (kind) {
    case Kind::TopDownBmp:
      return "BM" + le(0) + le(0) + le(54) + le(40) + le(w) + le(static_cast<std::uint32_t>(-h)) +
             std::string(28, '\0');
    case Kind::Png:
      return std::string("\x89PNG\r\n\x1A\n", 8) + be(13) + "IHDR" + be(w) + be(h) +
             std::string(5, '\0');
    case Kind::Text:
      return "not a picture at all, but long enough";
    case Kind::Bmp:
      break;
  }
  return {};
}

struct DiskCase {
  std::vector<int> present;  // frame numbers on the disk
  Kind kind;                 // what frame 00 is (the others are plain BMP files)
  const char* extension;
  int count;
  int width;
  int height;
};

// Named by what is on the disk (gtest would otherwise print the case's bytes, padding included).
void PrintTo(const DiskCase& c, std::ostream* os) {
  *os << c.present.size() << " frames" << c.extension << ", frame 00 of kind "
      << static_cast<int>(c.kind);
}

class FramesOnDiskTest : public testing::TestWithParam<DiskCase> {};

TEST_P(FramesOnDiskTest, CountsFromZeroUpToTheFirstGapAndTakesFrameZerosSize) {
  const DiskCase& c = GetParam();
  test::TempFolder temp;
  const std::string source = (temp / "cat.jpg").string();
  for (int n : c.present) {
    std::string name = base::FrameFileName(source, n);
    name.replace(name.size() - 4, 4, c.extension);
    if (n == 0 && c.kind != Kind::Bmp) {
      std::ofstream(name, std::ios::binary) << Head(c.kind, 30, 20);
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
    testing::Values(DiskCase{{0, 1, 2, 3, 4}, Kind::Bmp, ".bmp", 5, 30, 20},
                    // an older, longer run's leftovers after the gap are not the page's
                    DiskCase{{0, 1, 2, 3, 4, 6, 7}, Kind::Bmp, ".bmp", 5, 30, 20},
                    DiskCase{{}, Kind::Bmp, ".bmp", 0, 0, 0},
                    DiskCase{{1, 2}, Kind::Bmp, ".bmp", 0, 0, 0},
                    DiskCase{{0, 1}, Kind::TopDownBmp, ".bmp", 2, 30, 20},
                    DiskCase{{0, 1, 2}, Kind::Png, ".png", 3, 30, 20},
                    // a PNG frame under the BMP name is still measured by what it is
                    DiskCase{{0}, Kind::Png, ".bmp", 1, 30, 20},
                    DiskCase{{0, 1}, Kind::Text, ".bmp", 2, 0, 0}));

}  // namespace
}  // namespace kinetta::image

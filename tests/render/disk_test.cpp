// The disk: the centre, the turn, the exact source position and the fast route that must give
// the same integers, and whole frames turned by a quarter.
#include "render/renderers/disk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/geometry.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

using test::CoordinateColour;
using test::CoordinatePicture;
using test::PixelIs;
using test::RenderAll;

const Colour kBack = Compose(1, 2, 3);

Settings DiskSettings(int frames, int widthMode = 0, int widthValue = 100) {
  return {.ShapeIndex = 1,
          .WidthMode = widthMode,
          .WidthValue = widthValue,
          .BackColor = kBack,
          .FrameCount = frames,
          .Shade3D = 0};
}

TEST(DiskFormulas, CentreTurnAndSourcePosition) {
  EXPECT_EQ(disk::CentreOf(101, 103).cx, 50);  // 50.5 to the even 50
  EXPECT_EQ(disk::CentreOf(101, 103).cy, 52);  // 51.5 to the even 52
  EXPECT_EQ(disk::TurnAngle(1, 4), 1.570795);
  EXPECT_EQ(disk::TurnAngle(0, 7), 0);
  const disk::Centre c{50, 30};
  const auto at = [&](int x, int y, double theta) {
    const disk::Source s = disk::SourceOf(x, y, c, theta);
    return std::pair{s.x, s.y};
  };
  EXPECT_EQ(at(50, 30, 1.0), std::pair(50, 30));  // the centre reads itself
  // Straight left of the centre phi is 3.14159, not the 0 of ArcCos(-1): frame 0 reads the
  // pixel itself, not its mirror image (60, 30).
  EXPECT_EQ(at(40, 30, 0), std::pair(40, 30));
  EXPECT_EQ(at(50, 0, 1.570795), std::pair(80, 30));  // 30 above turns to 30 right
  EXPECT_EQ(at(20, 30, 1.570795), std::pair(50, 0));  // 30 left turns to 30 above
  EXPECT_EQ(at(60, 40, 3.14159), std::pair(40, 20));  // half a turn
}

TEST(DiskFastRoute, GivesTheExactFormulasIntegers) {
  struct Size {
    int w, h;
  };
  long long checked = 0, decidedExactly = 0;
  const auto sweep = [&](Size size, int frameCount) {
    std::vector<int> sx(static_cast<std::size_t>(size.w)), sy(sx.size());
    for (int k = 0; k < frameCount; ++k) {
      const double theta = disk::TurnAngle(k, frameCount);
      const disk::Turn turn(size.w, size.h, theta);
      for (int y = 0; y < size.h; ++y) {
        // In spans of 15 columns, so that the centre row's split falls inside a span and each
        // span ends with pixels taken two at a time and one at a time.
        for (int x0 = 0; x0 < size.w; x0 += 15) {
          const int x1 = std::min(x0 + 15, size.w);
          decidedExactly += turn.SourceSpan(y, x0, x1, sx.data() + x0, sy.data() + x0);
        }
        checked += size.w;
        for (int x = 0; x < size.w; ++x) {
          const disk::Source exact = disk::SourceOf(x, y, turn.centre(), theta);
          if (sx[x] != exact.x || sy[x] != exact.y) {
            ADD_FAILURE() << size.w << " x " << size.h << ", frame " << k << " of " << frameCount
                          << ", pixel (" << x << ", " << y << "): fast (" << sx[x] << ", " << sy[x]
                          << "), exact (" << exact.x << ", " << exact.y << ")";
            return;
          }
        }
      }
    }
  };
  for (int n = 1; n <= 40; ++n) sweep({101, 67}, n);
  for (int n = 1; n <= 12; ++n) sweep({64, 64}, n);
  for (int n : {1, 2, 3}) {
    sweep({1, 1}, n);
    sweep({2, 5}, n);
    sweep({37, 1}, n);
  }
  for (int n : {7, 24}) sweep({640, 480}, n);
  // The exact formula decides only next to a halfway point.
  EXPECT_LT(decidedExactly * 1000, checked);
  EXPECT_GT(decidedExactly, 0) << "the 640 x 480 frames have values next to a halfway point";
}

TEST(Disk, QuarterTurnOfASquareFrame) {
  // 100 x 100, four frames: frame 1 turns by 1.570795 and pixel (x, y) reads (100 - y, x).
  const Surface src = CoordinatePicture(100, 100);
  const auto frames = RenderAll(src, DiskSettings(4));
  ASSERT_EQ(frames.size(), 4u);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      const Colour expected = y == 0 ? kBack : CoordinateColour(100 - y, x);
      ASSERT_TRUE(PixelIs(frames[1], x, y, expected));
    }
  }
  // Frame 0 shows the source; half a turn reads (100 - x, 100 - y), so row 0 and column 0 are
  // background, and the background is laid again for frame 3 (which reads (y, 100 - x)).
  EXPECT_TRUE(frames[0] == src);
  EXPECT_TRUE(PixelIs(frames[2], 30, 0, kBack));
  EXPECT_TRUE(PixelIs(frames[2], 0, 70, kBack));
  EXPECT_TRUE(PixelIs(frames[2], 30, 1, CoordinateColour(70, 99)));
  EXPECT_TRUE(PixelIs(frames[3], 30, 0, CoordinateColour(0, 70)));
  EXPECT_TRUE(PixelIs(frames[3], 0, 30, kBack));
}

TEST(Disk, QuarterTurnOfAWideFrame) {
  // 100 x 60, centre (50, 30): pixel (x, y) reads (80 - y, x - 20).
  const Surface src = CoordinatePicture(100, 60);
  const Surface f = RenderAll(src, DiskSettings(4))[1];
  EXPECT_TRUE(PixelIs(f, 50, 0, CoordinateColour(80, 30)));
  EXPECT_TRUE(PixelIs(f, 20, 30, CoordinateColour(50, 0)));
  EXPECT_TRUE(PixelIs(f, 19, 30, kBack));
  EXPECT_TRUE(PixelIs(f, 79, 59, CoordinateColour(21, 59)));
  EXPECT_TRUE(PixelIs(f, 80, 59, kBack));
}

TEST(Disk, FrameZeroOfAnOddSizedFrameIsTheSource) {
  const Surface src = CoordinatePicture(101, 67);
  EXPECT_TRUE(RenderAll(src, DiskSettings(1))[0] == src);
}

TEST(Disk, BoundsAreTheFrameNotTheSource) {
  // Narrower frame than source: a 60 x 60 frame of a 100 x 60 source turns about (30, 30), and
  // (0, 0) reading column 60 is outside the frame though inside the source.
  const Surface src = CoordinatePicture(100, 60);
  const Surface f = RenderAll(src, DiskSettings(4, 2, 60))[1];
  EXPECT_TRUE(PixelIs(f, 0, 0, kBack));
  EXPECT_TRUE(PixelIs(f, 0, 1, CoordinateColour(59, 0)));
  // Wider frame than source: columns past the source read as black.
  const Surface narrow = CoordinatePicture(40, 40);
  const Surface g = RenderAll(narrow, DiskSettings(1, 2, 60))[0];
  EXPECT_TRUE(PixelIs(g, 50, 10, 0));
  EXPECT_TRUE(PixelIs(g, 10, 10, CoordinateColour(10, 10)));
}

TEST(Disk, ShadingSwitchChangesNothing) {
  const Surface src = CoordinatePicture(50, 40);
  Settings on = DiskSettings(3);
  on.Shade3D = 1;
  EXPECT_TRUE(RenderAll(src, on) == RenderAll(src, DiskSettings(3)));
}

}  // namespace
}  // namespace kinetta::render

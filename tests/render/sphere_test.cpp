// The sphere: the slices, where each slice pixel reads, the light spot, frames taller than the
// sphere, and reads past the work picture.
#include "render/renderers/sphere.h"

#include <gtest/gtest.h>

#include "render/geometry.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

using test::CoordinateColour;
using test::CoordinatePicture;
using test::PixelIs;
using test::RenderAll;
using test::SolidPicture;

const Colour kBack = Compose(1, 2, 3);

Settings SphereSettings(int frames, int shade, int widthMode = 0, int widthValue = 100) {
  return {.ShapeIndex = 2,
          .WidthMode = widthMode,
          .WidthValue = widthValue,
          .BackColor = kBack,
          .FrameCount = frames,
          .Shade3D = shade};
}

struct SliceCase {
  int y;
  int m, n;
  int farEnd;  // SourceOffset at j = 0: m + floor(3.14159 r)
};

TEST(SphereSlice, HundredWide) {
  const SliceCase cases[] = {
      {0, 49, 1, 52},    // r = 0 becomes 1: two pixels, 49 and 50
      {25, 7, 86, 143},  // r = 43.30: m = round(6.70), n = round(85.60), 7 + 136
      {50, 0, 99, 157},  // r = 50 covers the whole row
      {100, 49, 1, 52},  // the bottom of the sphere is a single pixel pair again
  };
  for (const SliceCase& c : cases) {
    const sphere::Slice s = sphere::SliceOf(100, c.y);
    EXPECT_EQ(s.m, c.m) << "row " << c.y;
    EXPECT_EQ(s.n, c.n) << "row " << c.y;
    EXPECT_EQ(sphere::SourceOffset(s, 0), c.farEnd) << "row " << c.y;
  }
  EXPECT_EQ(sphere::SliceOf(100, 0).r, 1);
  // Along row 50 the arc cosine spreads 3.14159 x 50 columns over the slice.
  const sphere::Slice mid = sphere::SliceOf(100, 50);
  EXPECT_EQ(sphere::SourceOffset(mid, 1), 10);   // (3.14159 - 2.94126) x 50 = 10.02
  EXPECT_EQ(sphere::SourceOffset(mid, 50), 78);  // (3.14159 - 1.5707963) x 50 = 78.54
  EXPECT_EQ(sphere::SourceOffset(mid, 99), 147);
  EXPECT_EQ(sphere::SourceOffset(sphere::SliceOf(100, 0), 1), 50);  // 49 + floor(1.5707937)
}

TEST(SphereShade, LevelsAroundTheLightCentre) {
  // OutW 100: light centre (25, 30).
  EXPECT_EQ(sphere::ShadeLevel(25, 30, 100), 0);
  EXPECT_EQ(sphere::ShadeLevel(60, 30, 100), 7);   // d = 35
  EXPECT_EQ(sphere::ShadeLevel(63, 30, 100), 8);   // d = 38, 7.6
  EXPECT_EQ(sphere::ShadeLevel(88, 30, 100), 13);  // d = 63, 12.6
  EXPECT_EQ(sphere::ShadeLevel(95, 70, 100), 16);  // d = floor(80.62)
  EXPECT_EQ(sphere::ShadeComponent(0, 0), 201);
  EXPECT_EQ(sphere::ShadeComponent(255, 0), 255);
  EXPECT_EQ(sphere::ShadeComponent(100, 11), 100);  // 8 to 11 unchanged
  EXPECT_EQ(sphere::ShadeComponent(255, 13), 235);  // 3060 / 13 = 235.4
  EXPECT_EQ(sphere::ShadeComponent(2, 16), 2);      // 1.5 to the even 2
  EXPECT_EQ(sphere::ShadeComponent(6, 16), 4);      // 4.5 to the even 4
}

TEST(Sphere, SlicesReadTheirSourceRowAndSlide) {
  const Surface src = CoordinatePicture(100, 100);
  const auto frames = RenderAll(src, SphereSettings(4, 0));
  ASSERT_EQ(frames.size(), 4u);
  const Surface& f = frames[0];
  EXPECT_TRUE(PixelIs(f, 49, 0, CoordinateColour(52, 0)));  // j = 0: the strip's far end
  EXPECT_TRUE(PixelIs(f, 50, 0, CoordinateColour(50, 0)));
  EXPECT_TRUE(PixelIs(f, 48, 0, kBack));
  EXPECT_TRUE(PixelIs(f, 51, 0, kBack));
  EXPECT_TRUE(PixelIs(f, 0, 50, CoordinateColour(57, 50)));  // 157 in the second copy
  EXPECT_TRUE(PixelIs(f, 50, 50, CoordinateColour(78, 50)));
  EXPECT_TRUE(PixelIs(f, 99, 50, CoordinateColour(47, 50)));
  EXPECT_TRUE(PixelIs(f, 7, 25, CoordinateColour(43, 25)));
  EXPECT_TRUE(PixelIs(f, 6, 25, kBack));
  // j = 86: t = 0.98609, arccos 0.16705, (3.14159 - 0.16705) x 43.30 = 128.8, plus m = 7.
  EXPECT_TRUE(PixelIs(f, 93, 25, CoordinateColour(135 - 100, 25)));
  EXPECT_TRUE(PixelIs(f, 94, 25, kBack));
  // Row 75 lies on row 25's circle: the same columns, read from its own source row.
  EXPECT_TRUE(PixelIs(f, 7, 75, CoordinateColour(43, 75)));
  EXPECT_TRUE(PixelIs(f, 6, 75, kBack));
  EXPECT_TRUE(PixelIs(f, 93, 75, CoordinateColour(135 - 100, 75)));
  EXPECT_TRUE(PixelIs(f, 94, 75, kBack));
  // Frame 1 slides by 25: the middle of row 50 reads 78 + 25.
  EXPECT_TRUE(PixelIs(frames[1], 50, 50, CoordinateColour(3, 50)));
  EXPECT_TRUE(PixelIs(frames[1], 48, 0, kBack));
}

TEST(Sphere, LightSpot) {
  const Surface black = SolidPicture(100, 100, 0);
  const Surface f = RenderAll(black, SphereSettings(1, 1))[0];
  EXPECT_TRUE(PixelIs(f, 25, 30, Compose(201, 201, 201)));
  EXPECT_TRUE(PixelIs(f, 60, 30, Compose(51, 51, 51)));
  EXPECT_TRUE(PixelIs(f, 63, 30, 0));
  EXPECT_TRUE(PixelIs(f, 20, 0, kBack));  // the background is not shaded
  const Surface white = SolidPicture(100, 100, Compose(255, 255, 255));
  const Surface g = RenderAll(white, SphereSettings(1, 1))[0];
  EXPECT_TRUE(PixelIs(g, 25, 30, Compose(255, 255, 255)));
  EXPECT_TRUE(PixelIs(g, 88, 30, Compose(235, 235, 235)));
  const Surface mixed = SolidPicture(100, 100, Compose(2, 6, 255));
  EXPECT_TRUE(PixelIs(RenderAll(mixed, SphereSettings(1, 1))[0], 95, 70, Compose(2, 4, 191)));
  EXPECT_TRUE(PixelIs(RenderAll(mixed, SphereSettings(1, 0))[0], 95, 70, Compose(2, 6, 255)));
}

// Every pixel of the ball takes the light level of its own place: on a grey picture each drawn
// pixel is the grey shaded at ShadeLevel there, whatever the width and wherever the light
// spot's centre falls in the row.
TEST(Sphere, EveryPixelTakesItsOwnLightLevel) {
  for (const int w : {37, 100, 211}) {
    const Surface f =
        RenderAll(SolidPicture(w, w + 5, Compose(128, 128, 128)), SphereSettings(1, 1))[0];
    int drawn = 0;
    for (int y = 0; y < f.height(); ++y) {
      for (int x = 0; x < w; ++x) {
        if (f.Point(x, y) == kBack) continue;
        ++drawn;
        const int g = sphere::ShadeComponent(128, sphere::ShadeLevel(x, y, w));
        ASSERT_TRUE(PixelIs(f, x, y, Compose(g, g, g))) << w << " wide";
      }
    }
    EXPECT_GT(drawn, w * w / 2) << w << " wide";
  }
}

TEST(Sphere, RowsBelowTheSphereKeepTheBackground) {
  // 40 wide, 50 high: the sphere ends at row 40 (a single pixel pair); rows 41..49 have no slice.
  const Surface src = CoordinatePicture(40, 50);
  const Surface f = RenderAll(src, SphereSettings(1, 1))[0];
  ASSERT_EQ(f.height(), 50);
  const Surface plain = RenderAll(src, SphereSettings(1, 0))[0];
  EXPECT_TRUE(PixelIs(plain, 19, 40, CoordinateColour(22, 40)));  // 19 + floor(3.14159)
  EXPECT_TRUE(PixelIs(plain, 20, 40, CoordinateColour(20, 40)));
  EXPECT_TRUE(PixelIs(plain, 0, 20, CoordinateColour(22, 20)));  // 62 in the second copy
  EXPECT_TRUE(PixelIs(plain, 13, 39, kBack));                    // row 39 covers 14..25
  EXPECT_TRUE(PixelIs(plain, 14, 39, CoordinateColour(14 + 19 - 0, 39)));
  EXPECT_TRUE(PixelIs(plain, 18, 40, kBack));
  for (const Surface* frame : {&f, &plain}) {
    for (int y = 41; y < 50; ++y) {
      for (int x = 0; x < 40; ++x) ASSERT_TRUE(PixelIs(*frame, x, y, kBack));
    }
  }
}

TEST(Sphere, FrameAsWideAsHighAndReadsPastTheWorkPicture) {
  // WidthMode 1 on a 120 x 80 source: an 80 x 80 frame whose middle row is all sphere.
  const Surface wide = CoordinatePicture(120, 80);
  const Surface f = RenderAll(wide, SphereSettings(1, 0, 1))[0];
  EXPECT_EQ(f.width(), 80);
  EXPECT_TRUE(PixelIs(f, 0, 40, CoordinateColour(5, 40)));     // floor(3.14159 x 40) = 125
  EXPECT_TRUE(PixelIs(f, 79, 40, CoordinateColour(116, 40)));  // (3.14159 - 0.22365) x 40
  // A 10-wide source in a 100-wide frame: the work picture ends at column 30.
  const Surface narrow = SolidPicture(10, 40, Compose(200, 100, 50));
  const Surface g = RenderAll(narrow, SphereSettings(1, 1, 2))[0];
  EXPECT_TRUE(PixelIs(g, 60, 30, Compose(50, 51, 51)));  // reads 86 at level 7: red is -1
  const Surface h = RenderAll(narrow, SphereSettings(1, 0, 2))[0];
  EXPECT_TRUE(PixelIs(h, 60, 30, 0));
  EXPECT_TRUE(PixelIs(h, 5, 30, Compose(200, 100, 50)));  // j = 1: 4 + floor(9.59) = 13
}

}  // namespace
}  // namespace kinetta::render

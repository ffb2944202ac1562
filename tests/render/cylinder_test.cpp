// The cylinder: which source column each output column reads, the slide, the band of light
// (also wider than the old 16-bit distance allowed), and reads past the work picture.
#include "render/renderers/cylinder.h"

#include <gtest/gtest.h>

#include <utility>

#include "render/geometry.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

using test::CoordinateColour;
using test::CoordinatePicture;
using test::PixelIs;
using test::RenderAll;
using test::SolidPicture;

Settings CylinderSettings(int frames, int shade, int widthMode = 0, int widthValue = 100) {
  return {.ShapeIndex = 3,
          .WidthMode = widthMode,
          .WidthValue = widthValue,
          .BackColor = Compose(1, 2, 3),
          .FrameCount = frames,
          .Shade3D = shade};
}

struct ColumnCase {
  int outW, x, source;
};

TEST(CylinderColumn, ReadsAlongTheVisibleHalf) {
  // floor((3.14159 - arccos(L / (OutW / 2))) x Q / 3.14159), Q / 3.14159 = OutW / 2.
  const ColumnCase cases[] = {
      {100, 0, 157},   // ArcCos(-1) is 0: the far end, floor(157.0795)
      {100, 1, 10},    // (3.14159 - 2.94126) x 50 = 10.02
      {100, 50, 78},   // (3.14159 - 1.5707963) x 50 = 78.54
      {100, 99, 147},  // (3.14159 - 0.20033) x 50 = 147.06
      {100, 10, 32},   // (3.14159 - 2.49809) x 50 = 32.17
      {101, 0, 7},     // L = round(-50.5) = -50 ...
      {101, 1, 7},     // ... and round(-49.5) = -50: the same column
      {101, 50, 79},   // L = round(-0.5) = 0: (3.14159 - 1.5707963) x 50.5 = 79.32
      {80, 0, 125},    // floor(80 x 3.14159 / 2) = floor(125.66)
  };
  for (const ColumnCase& c : cases) {
    EXPECT_EQ(cylinder::SourceColumn(c.x, c.outW), c.source) << "x " << c.x << " of " << c.outW;
  }
}

TEST(CylinderShade, LevelsAndComponents) {
  // OutW 100: light column 10, level round(|x - 10| / 5).
  EXPECT_EQ(cylinder::ShadeLevel(10, 100), 0);
  EXPECT_EQ(cylinder::ShadeLevel(47, 100), 7);        // 37 / 5 = 7.4
  EXPECT_EQ(cylinder::ShadeLevel(48, 100), 8);        // 7.6
  EXPECT_EQ(cylinder::ShadeLevel(62, 100), 10);       // 10.4
  EXPECT_EQ(cylinder::ShadeLevel(63, 100), 11);       // 10.6
  EXPECT_EQ(cylinder::ShadeLevel(99, 100), 18);       // d = 89, 17.8
  EXPECT_EQ(cylinder::ShadeComponent(0, 0), 201);     // 3825 / 19 = 201.3
  EXPECT_EQ(cylinder::ShadeComponent(255, 0), 255);   // (1020 + 3825) / 19
  EXPECT_EQ(cylinder::ShadeComponent(0, 7), 51);      // 255 / 5
  EXPECT_EQ(cylinder::ShadeComponent(-1, 7), 50);     // 251 / 5 = 50.2
  EXPECT_EQ(cylinder::ShadeComponent(200, 10), 200);  // 8 to 10 unchanged
  EXPECT_EQ(cylinder::ShadeComponent(255, 11), 232);  // 2550 / 11 = 231.8
  EXPECT_EQ(cylinder::ShadeComponent(3, 12), 2);      // 2.5 goes to the even 2
  EXPECT_EQ(cylinder::ShadeComponent(9, 12), 8);      // 7.5 goes to 8
  EXPECT_EQ(cylinder::ShadeComponent(255, 18), 142);  // 141.67
}

TEST(Cylinder, FrameZeroAndTheSlide) {
  // W = 80, two frames: frame 1 slides by round(80 / 2) = 40 columns.
  const Surface src = CoordinatePicture(80, 30);
  const auto frames = RenderAll(src, CylinderSettings(2, 0));
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].width(), 80);
  EXPECT_EQ(frames[0].height(), 30);
  for (int y : {0, 17, 29}) {
    EXPECT_TRUE(PixelIs(frames[0], 0, y, CoordinateColour(125 - 80, y)));  // copy 2 of 3
    EXPECT_TRUE(PixelIs(frames[1], 0, y, CoordinateColour(125 + 40 - 160, y)));
    for (int x = 1; x < 80; x += 13) {
      const int base = cylinder::SourceColumn(x, 80);
      EXPECT_TRUE(PixelIs(frames[1], x, y, CoordinateColour((base + 40) % 80, y)));
    }
  }
}

TEST(Cylinder, HundredWideFrameReadsTheEdgeCaseColumns) {
  const Surface src = CoordinatePicture(100, 20);
  const Surface f = RenderAll(src, CylinderSettings(1, 0))[0];
  EXPECT_TRUE(PixelIs(f, 0, 5, CoordinateColour(57, 5)));  // column 157 of the three copies
  EXPECT_TRUE(PixelIs(f, 1, 5, CoordinateColour(10, 5)));
  EXPECT_TRUE(PixelIs(f, 50, 19, CoordinateColour(78, 19)));
  EXPECT_TRUE(PixelIs(f, 99, 0, CoordinateColour(47, 0)));
}

TEST(Cylinder, ShadingBand) {
  const Surface black = SolidPicture(100, 10, 0);
  const Surface f = RenderAll(black, CylinderSettings(1, 1))[0];
  EXPECT_TRUE(PixelIs(f, 10, 4, Compose(201, 201, 201)));
  EXPECT_TRUE(PixelIs(f, 47, 4, Compose(51, 51, 51)));
  EXPECT_TRUE(PixelIs(f, 48, 4, 0));
  const Surface mixed = SolidPicture(100, 10, Compose(3, 9, 255));
  const Surface g = RenderAll(mixed, CylinderSettings(1, 1))[0];
  EXPECT_TRUE(PixelIs(g, 70, 2, Compose(2, 8, 212)));  // level 12: 2.5, 7.5, 212.5 to even
  EXPECT_TRUE(PixelIs(g, 62, 2, Compose(3, 9, 255)));  // level 10 unchanged
  EXPECT_TRUE(PixelIs(g, 99, 2, Compose(2, 5, 142)));  // 10c / 18: 1.67, 5, 141.67
  const Surface h = RenderAll(mixed, CylinderSettings(1, 7))[0];  // only 1 switches it on
  EXPECT_TRUE(PixelIs(h, 10, 2, Compose(3, 9, 255)));
}

TEST(Cylinder, ShadingWiderThanTheOldDistanceLimit) {
  // OutW 400: light column 40; |x - 40| x 100 passes 32767 from x = 368 on.
  const Surface src = SolidPicture(400, 4, Compose(255, 100, 0));
  const Surface f = RenderAll(src, CylinderSettings(1, 1))[0];
  EXPECT_TRUE(PixelIs(f, 399, 1, Compose(142, 56, 0)));   // d = 89, level 18: 10c / 18
  EXPECT_TRUE(PixelIs(f, 370, 1, Compose(159, 62, 0)));   // d = 82, level 16: 159.4, 62.5
  EXPECT_TRUE(PixelIs(f, 0, 1, Compose(255, 214, 187)));  // d = 10, level 2: (4c + 2805) / 15
}

TEST(Cylinder, ReadsPastTheWorkPictureAreBlackBeforeShading) {
  // A 10-wide source in a 100-wide frame: the work picture ends at column 30.
  const Surface src = SolidPicture(10, 6, Compose(200, 100, 50));
  const Surface f = RenderAll(src, CylinderSettings(1, 0, 2))[0];
  EXPECT_TRUE(PixelIs(f, 1, 3, Compose(200, 100, 50)));  // reads column 10
  EXPECT_TRUE(PixelIs(f, 0, 3, 0));                      // reads 157
  const Surface g = RenderAll(src, CylinderSettings(1, 1, 2))[0];
  EXPECT_TRUE(PixelIs(g, 47, 3, Compose(50, 51, 51)));  // reads 75 at level 7: red is -1
}

TEST(Cylinder, SourcesWiderThanTheOldTwipLimit) {
  // 2500 px is past 32767 twips; Q = 3926.9875, two frames slide by 1250.
  const Surface src = CoordinatePicture(2500, 2);
  const auto frames = RenderAll(src, CylinderSettings(2, 0));
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_TRUE(PixelIs(frames[0], 0, 1, CoordinateColour(3926 - 2500, 1)));
  EXPECT_TRUE(PixelIs(frames[1], 0, 1, CoordinateColour(3926 + 1250 - 5000, 1)));
  // The middle column: (3.14159 - 1.5707963) x 1250 = 1963.49.
  EXPECT_TRUE(PixelIs(frames[0], 1250, 0, CoordinateColour(1963, 0)));
  EXPECT_TRUE(PixelIs(frames[1], 1250, 0, CoordinateColour(1963 + 1250 - 2500, 0)));
}

TEST(CurvedShapes, NoFrameWithoutWidth) {
  const Surface src = CoordinatePicture(20, 10);
  for (int shape : {1, 2, 3}) {
    for (auto [mode, value] : {std::pair{2, 0}, std::pair{2, -4}, std::pair{5, 100}}) {
      Settings s = CylinderSettings(2, 1, mode, value);
      s.ShapeIndex = shape;
      RunResult result;
      EXPECT_TRUE(RenderAll(src, s, 1, 1, &result).empty());
      EXPECT_EQ(result.outcome, RunStatus::BadFrameSize) << "shape " << shape << ", mode " << mode;
    }
  }
}

}  // namespace
}  // namespace kinetta::render

// The plane: slide offsets, output width, the bevel's bands and colours, reads past the work
// picture.
#include "render/renderers/plane.h"

#include <gtest/gtest.h>

#include "render/geometry.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

using test::CoordinateColour;
using test::CoordinatePicture;
using test::PixelIs;
using test::RenderAll;

TEST(PlaneBevel, WidthRoundsHalvesToEven) {
  EXPECT_EQ(plane::BevelWidth(100, 80), 9);
  EXPECT_EQ(plane::BevelWidth(200, 150), 16);
  EXPECT_EQ(plane::BevelWidth(25, 25), 4);  // 3.5 rounds to 4
}

struct BandCase {
  int x, y;
  plane::Band band;
};

class PlaneBandTest : public testing::TestWithParam<BandCase> {};

TEST_P(PlaneBandTest, EightyBySixtyFrame) {
  const BandCase c = GetParam();
  EXPECT_EQ(plane::BevelBand(c.x, c.y, 80, 60, 7), c.band) << "(" << c.x << ", " << c.y << ")";
}

INSTANTIATE_TEST_SUITE_P(
    Corners, PlaneBandTest,
    testing::Values(BandCase{0, 0, plane::Band::Light}, BandCase{79, 0, plane::Band::Light},
                    BandCase{76, 4, plane::Band::Light}, BandCase{77, 4, plane::Band::Shadow},
                    BandCase{3, 58, plane::Band::Shadow}, BandCase{3, 57, plane::Band::Light},
                    BandCase{40, 53, plane::Band::Inner},   // y = H - B is not shaded
                    BandCase{40, 54, plane::Band::Shadow},  // y = H - B + 1 is
                    BandCase{73, 30, plane::Band::Inner}, BandCase{74, 30, plane::Band::Shadow},
                    BandCase{79, 59, plane::Band::Shadow}));

Settings PlaneSettings(int frames, int shade, int widthMode = 0) {
  return {.ShapeIndex = 0, .WidthMode = widthMode, .FrameCount = frames, .Shade3D = shade};
}

TEST(Plane, SlidesLeftByRoundedOffsets) {
  const Surface src = CoordinatePicture(10, 6);
  const auto frames = RenderAll(src, PlaneSettings(4, 0));
  ASSERT_EQ(frames.size(), 4u);
  const int offsets[] = {0, 2, 5, 8};
  for (int k = 0; k < 4; ++k) {
    for (int x = 0; x < 10; ++x) {
      EXPECT_TRUE(PixelIs(frames[k], x, 3, CoordinateColour((offsets[k] + x) % 10, 3)))
          << "frame " << k;
    }
  }
}

TEST(Plane, OutputWidthFollowsWidthMode) {
  const Surface src = CoordinatePicture(120, 80);
  EXPECT_EQ(RenderAll(src, PlaneSettings(1, 0, 1))[0].width(), 80);
  EXPECT_EQ(RenderAll(src, PlaneSettings(1, 0, 0))[0].width(), 120);
  Settings s = PlaneSettings(1, 0, 2);
  s.WidthValue = 37;
  const auto f = RenderAll(src, s);
  EXPECT_EQ(f[0].width(), 37);
  EXPECT_EQ(f[0].height(), 80);
}

TEST(Plane, ReadsPastTheThreeCopiesComeOutBlackOrGrey) {
  // A 10-wide source in a 35-wide frame: columns 30..34 lie past the work picture.
  const Surface src = test::SolidPicture(10, 40, Compose(200, 100, 50));
  Settings s = PlaneSettings(1, 0, 2);
  s.WidthValue = 35;
  EXPECT_TRUE(PixelIs(RenderAll(src, s)[0], 31, 20, 0));
  EXPECT_TRUE(PixelIs(RenderAll(src, s)[0], 29, 20, Compose(200, 100, 50)));
  s.Shade3D = 1;  // B = round(35 / 10 + 1) = round(4.5) = 4
  const Surface f = RenderAll(src, s)[0];
  EXPECT_TRUE(PixelIs(f, 31, 1, Compose(170, 170, 170)));  // lit band: (509 / 3, 510 / 3, ...)
  EXPECT_TRUE(PixelIs(f, 31, 39, 0));                      // shadow band
}

TEST(Plane, BevelLightsAndShades) {
  const Surface src = test::SolidPicture(80, 60, Compose(255, 0, 100));
  const Surface f = RenderAll(src, PlaneSettings(1, 1))[0];
  // Light: round((c + 510) / 3); shadow: round(c / 2), halves to even.
  EXPECT_TRUE(PixelIs(f, 0, 0, Compose(255, 170, 203)));  // 610 / 3 = 203.3
  EXPECT_TRUE(PixelIs(f, 77, 4, Compose(128, 0, 50)));    // 127.5 -> 128
  EXPECT_TRUE(PixelIs(f, 40, 30, Compose(255, 0, 100)));  // inner area untouched
  Settings off = PlaneSettings(1, 0);
  EXPECT_TRUE(PixelIs(RenderAll(src, off)[0], 0, 0, Compose(255, 0, 100)));
}

TEST(Plane, OneFrameShowsTheSourceFromItsLeftEdge) {
  const Surface src = CoordinatePicture(12, 5);
  Settings s = PlaneSettings(1, 0, 2);
  s.WidthValue = 20;  // wider than the source: continues periodically
  const Surface f = RenderAll(src, s)[0];
  EXPECT_TRUE(PixelIs(f, 0, 2, CoordinateColour(0, 2)));
  EXPECT_TRUE(PixelIs(f, 15, 2, CoordinateColour(3, 2)));
}

}  // namespace
}  // namespace kinetta::render

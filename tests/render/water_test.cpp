// The water surface: the picture above, the mirrored ripples below, the undisplaced fallback at
// the edges and the water colour's tint.
#include "render/renderers/water.h"

#include <gtest/gtest.h>

#include "render/geometry.h"
#include "render/renderers/wave.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

using test::CoordinateColour;
using test::PixelIs;

Settings WaterSettings(int frames, int tint, Colour water = Compose(0, 0, 255)) {
  return {.ShapeIndex = 5, .BackColor = water, .FrameCount = frames, .Shade3D = tint};
}

TEST(WaterFormulas, TintMixesAQuarterOfTheWater) {
  EXPECT_EQ(water::Tint(255, 0), 191);  // 765 / 4 = 191.25
  EXPECT_EQ(water::Tint(0, 255), 64);   // 63.75
  EXPECT_EQ(water::Tint(1, 1), 1);
  EXPECT_EQ(water::Tint(2, 2), 2);
  EXPECT_EQ(water::Tint(1, 3), 2);  // 6 / 4 = 1.5 goes to 2
  const Colour blue = Compose(0, 0, 255);
  EXPECT_EQ(water::Reflect(Compose(255, 255, 255), blue, true), Compose(191, 191, 255));
  EXPECT_EQ(water::Reflect(0, blue, true), Compose(0, 0, 64));
  EXPECT_EQ(water::Reflect(Compose(9, 8, 7), blue, false), Compose(9, 8, 7));
}

TEST(WaterFormulas, RipplePositions) {
  // 100 x 60, phase 0: at row 0 cos 0 x 2 = 2; at row 1, a1 = -2 pi / 5 + 2 pi, cos x 2 = 0.618.
  EXPECT_EQ(water::SourcePosition(0, 0, 0, 100, 60).x, 2);
  EXPECT_EQ(water::SourcePosition(0, 1, 0, 100, 60).x, 1);
  EXPECT_EQ(water::SourcePosition(0, 1, 0, 100, 60).y, 1);
  // Phase 1.570795, (0, 4): sx = round(-1.902) = -2 leaves the source, so the vertical swing
  // to row 5 is dropped as well: the undisplaced (0, 4).
  const water::Position p = water::SourcePosition(0, 4, 1.570795, 100, 60);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 4);
}

TEST(Water, PictureAboveMirrorBelow) {
  const auto frames = test::RenderAll(test::CoordinatePicture(100, 60), WaterSettings(4, 0));
  ASSERT_EQ(frames.size(), 4u);
  for (const Surface& f : frames) {
    ASSERT_EQ(f.width(), 100);
    ASSERT_EQ(f.height(), 120);
    for (int y = 0; y < 60; y += 7) {
      for (int x = 0; x < 100; x += 9) ASSERT_TRUE(PixelIs(f, x, y, CoordinateColour(x, y)));
    }
  }
  EXPECT_TRUE(PixelIs(frames[0], 0, 119, CoordinateColour(2, 0)));  // source row 0 at the bottom
  EXPECT_TRUE(PixelIs(frames[0], 0, 118, CoordinateColour(1, 1)));
  EXPECT_TRUE(PixelIs(frames[1], 0, 115, CoordinateColour(0, 4)));
}

TEST(Water, EveryReflectedPixelFollowsTheFormulas) {
  const int w = 45, h = 31, n = 3;
  const Colour waterColour = Compose(200, 40, 90);
  for (int tint : {0, 1}) {
    const auto frames =
        test::RenderAll(test::CoordinatePicture(w, h), WaterSettings(n, tint, waterColour));
    ASSERT_EQ(frames.size(), 3u);
    for (int k = 0; k < n; ++k) {
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const water::Position p = water::SourcePosition(x, y, wave::Phase(k, n), w, h);
          const Colour c = water::Reflect(CoordinateColour(p.x, p.y), waterColour, tint == 1);
          ASSERT_TRUE(PixelIs(frames[k], x, 2 * h - y - 1, c)) << "frame " << k;
        }
      }
    }
  }
}

TEST(Water, TintOnlyWithTheSwitchOn) {
  const Surface white = test::SolidPicture(20, 10, Compose(255, 255, 255));
  const Surface tinted = test::RenderAll(white, WaterSettings(1, 1))[0];
  const Surface plain = test::RenderAll(white, WaterSettings(1, 2))[0];
  for (int y = 10; y < 20; ++y) {
    EXPECT_TRUE(PixelIs(tinted, 7, y, Compose(191, 191, 255)));
    EXPECT_TRUE(PixelIs(plain, 7, y, Compose(255, 255, 255)));  // the water colour never shows
  }
  EXPECT_TRUE(PixelIs(tinted, 7, 9, Compose(255, 255, 255)));  // the picture is not tinted
}

}  // namespace
}  // namespace kinetta::render

// The shared per-pixel helpers, at the values the frames depend on.
#include "render/geometry.h"

#include <gtest/gtest.h>

namespace kinetta::render {
namespace {

TEST(RGBPart, SplitsPackedColourAndOutsideRead) {
  const Colour c = 64 + 256 * 128 + 65536 * 255;
  EXPECT_EQ(RGBPart(c, 0), 64);
  EXPECT_EQ(RGBPart(c, 1), 128);
  EXPECT_EQ(RGBPart(c, 2), 255);
  EXPECT_EQ(RGBPart(c, 3), 0);
  EXPECT_EQ(RGBPart(-1, 0), -1);
  EXPECT_EQ(RGBPart(-1, 1), 0);
  EXPECT_EQ(RGBPart(-1, 2), 0);
  // Blue keeps all upper bits: no masking to 8 bits.
  EXPECT_EQ(RGBPart(65536 * 300, 2), 300);
}

TEST(ClampRGB, ClampsEachComponent) {
  int r = -5, g = 300, b = 128;
  ClampRGB(r, g, b);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(g, 255);
  EXPECT_EQ(b, 128);
  r = -1, g = 0, b = 0;
  ClampRGB(r, g, b);
  EXPECT_EQ(r, 0);
}

TEST(ArcCos, MatchesArcCosineExceptAtMinusOne) {
  EXPECT_DOUBLE_EQ(ArcCos(0), std::acos(0.0));
  EXPECT_EQ(ArcCos(1), 0);
  EXPECT_EQ(ArcCos(-1), 0);  // not pi: the disk corrects this itself
  EXPECT_NEAR(ArcCos(-0.5), 2 * M_PI / 3, 1e-12);
  EXPECT_EQ(ArcCos(1.5), 0);
}

TEST(SinFromCos, IsTheCompanionRoot) { EXPECT_NEAR(SinFromCos(0.6), 0.8, 1e-15); }

TEST(Distances, ArePercentagesRoundedDown) {
  EXPECT_EQ(Distan1(10, 4, 30), 20);
  EXPECT_EQ(Distan1(0, 1, 3), 33);
  EXPECT_EQ(Distan2(0, 0, 3, 4, 200), 2);
  // Beyond the old 16-bit product: |b - a| of 400 still gives the same formula's value.
  EXPECT_EQ(Distan1(0, 400, 800), 50);
}

TEST(RoundHalfEven, GoesToTheEvenNeighbourAtHalves) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(127.5), 128);
  EXPECT_EQ(RoundHalfEven(126.5), 126);
  EXPECT_EQ(RoundHalfEven(2.5000001), 3);
}

TEST(SlideOffset, RoundsHalvesToEven) {
  // W = 10 in 4 frames: 0, 2.5, 5, 7.5 give 0, 2, 5, 8.
  EXPECT_EQ(SlideOffset(10, 4, 0), 0);
  EXPECT_EQ(SlideOffset(10, 4, 1), 2);
  EXPECT_EQ(SlideOffset(10, 4, 2), 5);
  EXPECT_EQ(SlideOffset(10, 4, 3), 8);
}

TEST(BlendTowardsWhite, FollowsTheLevelTable) {
  EXPECT_EQ(BlendTowardsWhite(0, 0), 201);  // 3825 / 19 = 201.3
  EXPECT_EQ(BlendTowardsWhite(255, 0), 255);
  EXPECT_EQ(BlendTowardsWhite(0, 7), 51);     // 255 / 5
  EXPECT_EQ(BlendTowardsWhite(100, 3), 207);  // (400 + 2295) / 13 = 207.3
}

}  // namespace
}  // namespace kinetta::render

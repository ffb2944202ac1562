// The flag: frame size and shift, the amplitude along the pole, displaced source positions,
// the background where a position falls outside the source.
#include "render/renderers/flag.h"

#include <gtest/gtest.h>

#include "render/geometry.h"
#include "render/renderers/wave.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

using test::CoordinateColour;
using test::PixelIs;

Settings FlagSettings(int frames) {
  return {.ShapeIndex = 4, .BackColor = Compose(1, 2, 3), .FrameCount = frames};
}

TEST(FlagFormulas, SizesRoundHalvesToEven) {
  const flag::Geometry g = flag::MakeGeometry(200, 100);
  EXPECT_EQ(g.width, 210);
  EXPECT_EQ(g.height, 110);
  EXPECT_EQ(g.shift, 5);
  EXPECT_EQ(flag::MakeGeometry(30, 50).width, 32);  // 31.5 goes to 32
  EXPECT_EQ(flag::MakeGeometry(10, 50).width, 10);  // 10.5 goes to 10
  EXPECT_EQ(flag::MakeGeometry(10, 50).shift, 2);   // 2.5 goes to 2
}

TEST(FlagFormulas, AmplitudeRisesFromThePoleToTwoPercent) {
  // W = 200: A = x / 2 up to x = 8, then 4.
  EXPECT_EQ(flag::Amplitude(0, 200), 0);
  EXPECT_DOUBLE_EQ(flag::Amplitude(5, 200), 2.5);
  EXPECT_DOUBLE_EQ(flag::Amplitude(8, 200), 4);
  EXPECT_DOUBLE_EQ(flag::Amplitude(150, 200), 4);
}

TEST(FlagFormulas, PhasesAndAnglesWrapOnce) {
  const double phases[] = {0, 1.570795, 3.14159, 4.712385};
  for (int k = 0; k < 4; ++k) EXPECT_DOUBLE_EQ(wave::Phase(k, 4), phases[k]) << k;
  EXPECT_DOUBLE_EQ(wave::Angle(0, 1, 4), 6.28318 - 1.570795);
  EXPECT_DOUBLE_EQ(wave::Angle(0, 2, 1), -6.28318);  // 6.28318 is added once only
}

TEST(FlagFormulas, DisplacedSourcePositions) {
  const flag::Geometry g = flag::MakeGeometry(200, 100);
  // Phase 0, (20, 50): a1 = -1.495995 + 2 pi, cos x 4 = 0.299; a2 = -1.142396 + 2 pi,
  // sin x 4 = -3.639: (round(20.299), round(41.361)).
  EXPECT_EQ(flag::SourcePosition(20, 50, 0, g, 200).x, 20);
  EXPECT_EQ(flag::SourcePosition(20, 50, 0, g, 200).y, 41);
  // Phase 0, (20, 0): cos 0 = 1, so sx = 24; sy = round(-8.639) = -9, outside.
  EXPECT_EQ(flag::SourcePosition(20, 0, 0, g, 200).x, 24);
  EXPECT_EQ(flag::SourcePosition(20, 0, 0, g, 200).y, -9);
}

TEST(Flag, PictureHangsBelowTheTopAndThePoleNeverMoves) {
  const auto frames = test::RenderAll(test::CoordinatePicture(200, 100), FlagSettings(4));
  ASSERT_EQ(frames.size(), 4u);
  const Colour back = Compose(1, 2, 3);
  for (const Surface& f : frames) {
    ASSERT_EQ(f.width(), 210);
    ASSERT_EQ(f.height(), 110);
    for (int y = 0; y < 110; ++y) {
      const bool onPicture = y >= 5 && y < 105;
      EXPECT_TRUE(PixelIs(f, 0, y, onPicture ? CoordinateColour(0, y - 5) : back));
    }
    // The right margin: sx is at least x - 4 >= 205, past the source.
    for (int x = 205; x < 210; ++x) EXPECT_TRUE(PixelIs(f, x, 50, back));
  }
  EXPECT_TRUE(PixelIs(frames[0], 20, 50, CoordinateColour(20, 41)));
  EXPECT_TRUE(PixelIs(frames[0], 20, 0, back));
  // Phase 1.570795 at (100, 30): cos(a1) x 4 = 3.127, sin(a2) x 4 = 3.365: source (103, 28).
  EXPECT_TRUE(PixelIs(frames[1], 100, 30, CoordinateColour(103, 28)));
}

TEST(Flag, EveryPixelFollowsTheFormulas) {
  // Odd sizes so that no row or column table lines up with another by chance.
  const int w = 37, h = 23, n = 3;
  const auto frames = test::RenderAll(test::CoordinatePicture(w, h), FlagSettings(n));
  const flag::Geometry g = flag::MakeGeometry(w, h);
  ASSERT_EQ(frames.size(), 3u);
  for (int k = 0; k < n; ++k) {
    for (int y = 0; y < g.height; ++y) {
      for (int x = 0; x < g.width; ++x) {
        const flag::Position p = flag::SourcePosition(x, y, wave::Phase(k, n), g, w);
        const bool inside = p.x >= 0 && p.x < w && p.y >= 0 && p.y < h;
        ASSERT_TRUE(
            PixelIs(frames[k], x, y, inside ? CoordinateColour(p.x, p.y) : Compose(1, 2, 3)))
            << "frame " << k;
      }
    }
  }
}

}  // namespace
}  // namespace kinetta::render

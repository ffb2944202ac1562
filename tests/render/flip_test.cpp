// The front/back flip: the quarter turns of a 100 x 80 card, the perspective, the face chosen
// at half a turn, the shading and the rows past an odd-height picture.
#include "render/renderers/flip.h"

#include <gtest/gtest.h>

#include <vector>

#include "render/geometry.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

using test::CoordinateColour;
using test::PixelIs;

const Colour kBack = Compose(1, 2, 3);

Settings FlipSettings(int frames, int shade) {
  return {.ShapeIndex = 6, .BackColor = kBack, .FrameCount = frames, .Shade3D = shade};
}

// Every pixel of `row` of `f`: the background outside canvas columns from..to, `at(column)`
// inside.
template <typename At>
void ExpectRow(const Surface& f, int row, int from, int to, At at) {
  for (int x = 0; x < f.width(); ++x) {
    ASSERT_TRUE(PixelIs(f, x, row, x >= from && x <= to ? at(x) : kBack)) << "row " << row;
  }
}

TEST(FlipFormulas, ShadingDarkensOrLightens) {
  EXPECT_EQ(flip::Shade(255, 5), 191);  // x 15 / 20 = 191.25
  EXPECT_EQ(flip::Shade(0, -5), 64);    // 1275 / 20 = 63.75
  EXPECT_EQ(flip::Shade(1, -5), 64);    // 1290 / 20 = 64.5 goes to 64
  EXPECT_EQ(flip::Shade(255, -5), 255);
  EXPECT_EQ(flip::Shade(99, 4), 78);  // 1485 / 19 = 78.16
  EXPECT_EQ(flip::Shade(77, 0), 77);
}

TEST(Flip, QuarterTurnsOfAShadedCard) {
  // 100 x 80, N = 4: HH = 40, R = 20, canvas 110 x 40, L = 5.
  const auto f = test::RenderAll(test::CoordinatePicture(100, 80), FlipSettings(4, 1));
  ASSERT_EQ(f.size(), 4u);
  ASSERT_EQ(f[0].width(), 110);
  ASSERT_EQ(f[0].height(), 40);
  // Frame 0, edge-on, X = 5: only row 20, darkened: (x, 20, 0) -> round(15c / 20).
  for (int y = 0; y < 40; ++y) {
    ExpectRow(f[0], y, 5, y == 20 ? 104 : -1, [](int cx) {
      const int x = cx - 5;
      return Compose(RoundHalfEven(15 * x / 20.0), 15, 0);
    });
  }
  // Frame 1, face-on: the front face unscaled, unshaded. Frame 3: the back face.
  for (int y = 0; y < 40; ++y) {
    ExpectRow(f[1], y, 5, 104, [&](int cx) { return CoordinateColour(cx - 5, y); });
    ExpectRow(f[3], y, 5, 104, [&](int cx) { return CoordinateColour(cx - 5, y + 40); });
  }
  // Frame 2, edge-on at exactly 3.14159: still the front face, lightened with X = -5.
  EXPECT_TRUE(PixelIs(f[2], 5, 20, Compose(64, 79, 64)));  // (1275, 1575, 1275) / 20
  EXPECT_TRUE(PixelIs(f[2], 6, 20, Compose(64, 79, 64)));  // red 64.5 goes to 64
  EXPECT_TRUE(PixelIs(f[2], 5, 19, kBack));
}

TEST(Flip, PerspectiveMagnifiesTheNearEdgeAndReducesTheFar) {
  // N = 8, frame 1: theta = 0.785, K = round(3.54) = 4, S = round(14.14) = 14, X = 4.
  const auto f = test::RenderAll(test::CoordinatePicture(100, 80), FlipSettings(8, 1));
  const auto dark = [](int x, int y) { return Compose(flip::Shade(x, 4), flip::Shade(y, 4), 0); };
  // Row 6: sy = 0, d = 2.8, sx = 2.8 + 0.944x: source columns 2 (x = 0) .. 99 (x = 102).
  EXPECT_TRUE(PixelIs(f[1], 5, 6, dark(2, 0)));
  EXPECT_TRUE(PixelIs(f[1], 104, 6, dark(96, 0)));
  EXPECT_TRUE(PixelIs(f[1], 107, 6, dark(99, 0)));
  EXPECT_TRUE(PixelIs(f[1], 108, 6, kBack));  // sx = 100.03
  // Row 33: sy = 38.57, d = -2.6, sx = -2.6 + 1.052x: x = 3 .. 97 (sx 0.556 .. 99.444).
  EXPECT_TRUE(PixelIs(f[1], 7, 33, kBack));
  EXPECT_TRUE(PixelIs(f[1], 8, 33, dark(0, 38)));
  EXPECT_TRUE(PixelIs(f[1], 102, 33, dark(99, 38)));
  EXPECT_TRUE(PixelIs(f[1], 103, 33, kBack));
  EXPECT_TRUE(PixelIs(f[1], 50, 5, kBack));  // sy = -1.43: off the face
  // Frame 5, the back face: K = -4, S = -14, X = -(-4) = 4. Row 6 shows source row 40 with
  // d = -2.8 negated to 2.8: magnified like row 6 of frame 1.
  EXPECT_TRUE(PixelIs(f[5], 5, 6, dark(2, 40)));
  EXPECT_TRUE(PixelIs(f[5], 107, 6, dark(99, 40)));
  EXPECT_TRUE(PixelIs(f[5], 108, 6, kBack));
}

TEST(Flip, WithoutTheSwitchTheCanvasIsTheSourceWidth) {
  const auto f = test::RenderAll(test::CoordinatePicture(100, 80), FlipSettings(4, 0));
  ASSERT_EQ(f[1].width(), 100);
  for (int y = 0; y < 40; ++y) {
    ExpectRow(f[1], y, 0, 99, [&](int x) { return CoordinateColour(x, y); });
  }
}

TEST(Flip, FractionalMarginShiftsEveryColumnAlike) {
  // W = 30: L = 1.5 is drawn from canvas column 1; FW = 33.
  const auto f = test::RenderAll(test::CoordinatePicture(30, 20), FlipSettings(4, 1));
  ASSERT_EQ(f[1].width(), 33);
  ExpectRow(f[1], 4, 1, 30, [](int cx) { return CoordinateColour(cx - 1, 4); });
}

TEST(Flip, BackFaceFromJustAboveHalfATurn) {
  // 20 x 8: HH = 4, R = 2. Edge-on frames show row 2 only.
  const Surface src = test::CoordinatePicture(20, 8);
  const Surface front = test::RenderAll(src, FlipSettings(4, 0))[2];   // 3.14159 exactly
  const Surface back = test::RenderAll(src, FlipSettings(22, 0))[11];  // 3.1415900000000003
  EXPECT_TRUE(PixelIs(front, 3, 2, CoordinateColour(3, 2)));
  EXPECT_TRUE(PixelIs(back, 3, 2, CoordinateColour(3, 6)));
  EXPECT_TRUE(PixelIs(back, 3, 1, kBack));
}

TEST(Flip, OddFaceHeights) {
  // H = 6: HH = 3, R = 1.5 is no whole row, so an edge-on frame is all background.
  const Surface edgeOn = test::RenderAll(test::CoordinatePicture(10, 6), FlipSettings(4, 1))[0];
  for (int y = 0; y < 3; ++y) ExpectRow(edgeOn, y, 0, -1, [](int) { return kBack; });
  // H = 79: HH = 40 (39.5 goes to 40), so the back face's last row is source row 79, past the
  // picture: red -1, green 0, blue 0. N = 40, frame 31: S = -20, X = -1, K = 0; lightened by
  // 1/16: (round(240 / 16), round(255 / 16), ...) = (15, 16, 16).
  const Surface past = test::RenderAll(test::CoordinatePicture(10, 79), FlipSettings(40, 1))[31];
  ExpectRow(past, 39, 0, 9, [](int) { return Compose(15, 16, 16); });
  ExpectRow(past, 38, 0, 9, [](int x) {
    return Compose(flip::Shade(x, -1), flip::Shade(78, -1), flip::Shade(0, -1));
  });
}

}  // namespace
}  // namespace kinetta::render

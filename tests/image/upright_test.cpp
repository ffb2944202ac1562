// Turns checked against one another on a picture of several tiles, with short ones at the edges
// (the turned JPEG files pin each orientation down), and the turned copy's memory counted first.
#include "image/upright.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace kinetta::image {
namespace {

const DecodeLimits kRoomy{1 << 20, 1 << 20};

// A quarter turn each way, two flips about one diagonal and two mirrors give the picture back,
// top bytes and all; two clockwise turns are a half turn; unknown orientations change nothing.
TEST(TurnUpright, TurnsUndoOneAnotherAcrossTiles) {
  render::Surface stored = test::CoordinatePicture(70, 45);
  for (int y = 0; y < 45; ++y) stored.Row(y)[y] |= 0xA0000000u;
  render::Surface half = stored;
  ASSERT_TRUE(TurnUpright(half, 3, kRoomy).ok());
  EXPECT_FALSE(half == stored);
  for (auto [a, b] : {std::pair{6, 8}, {8, 6}, {5, 5}, {7, 7}, {2, 2}, {4, 4}, {1, 9}, {6, 6}}) {
    render::Surface picture = stored;
    ASSERT_TRUE(TurnUpright(picture, a, kRoomy).ok() && TurnUpright(picture, b, kRoomy).ok());
    EXPECT_TRUE(picture == (a == 6 && b == 6 ? half : stored)) << a << " then " << b;
  }
}

// The turned copy must fit beside the picture; turning in place needs no memory.
TEST(TurnUpright, CountsTheTurnedCopyFirst) {
  render::Surface picture = test::CoordinatePicture(70, 45);
  const render::Surface stored = picture;
  EXPECT_EQ(TurnUpright(picture, 6, {1 << 20, 70 * 45 * 4 - 1}).cause(), base::Cause::TooLarge);
  EXPECT_TRUE(picture == stored);
  EXPECT_TRUE(TurnUpright(picture, 6, {1 << 20, 70 * 45 * 4}).ok());
  EXPECT_EQ(picture.width(), 45);
  EXPECT_TRUE(TurnUpright(picture, 3, {1 << 20, 0}).ok());
}

}  // namespace
}  // namespace kinetta::image

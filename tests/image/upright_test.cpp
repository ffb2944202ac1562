// The eight orientations on a picture small enough to write out by hand, the turns checked
// against one another on a picture of many tiles, and the turned copy's memory counted first.
#include "image/upright.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace kinetta::image {
namespace {

const DecodeLimits kRoomy{1 << 20, 1 << 20};

// Letters 'a'.. as pixels, with a top byte of their own that must move with them.
render::Surface Letters(const std::vector<std::string>& rows) {
  render::Surface s(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x)
      s.Row(y)[x] = 0xA0000000u | static_cast<unsigned>(rows[y][x]);
  }
  return s;
}

TEST(TurnUpright, StandsEachOrientationUpright) {
  // The stored picture:  abc
  //                      def
  const std::vector<std::vector<std::string>> upright = {
      {"abc", "def"},      // 1
      {"cba", "fed"},      // 2 mirrored
      {"fed", "cba"},      // 3 half turn
      {"def", "abc"},      // 4 upside down
      {"ad", "be", "cf"},  // 5 first row becomes the left column
      {"da", "eb", "fc"},  // 6 quarter turn clockwise
      {"fc", "eb", "da"},  // 7 first row becomes the right column, upwards
      {"cf", "be", "ad"},  // 8 quarter turn anticlockwise
  };
  for (int orientation = 1; orientation <= 8; ++orientation) {
    render::Surface picture = Letters({"abc", "def"});
    ASSERT_TRUE(TurnUpright(picture, orientation, kRoomy).ok());
    EXPECT_TRUE(picture == Letters(upright[orientation - 1])) << "orientation " << orientation;
  }
  render::Surface picture = Letters({"abc", "def"});
  ASSERT_TRUE(TurnUpright(picture, 9, kRoomy).ok());
  EXPECT_TRUE(picture == Letters({"abc", "def"}));
}

// On a picture of several tiles with short ones at the edges: a quarter turn each way gives the
// picture back, as do two flips about the same diagonal, and two clockwise turns are a half turn.
TEST(TurnUpright, TurnsUndoOneAnotherAcrossTiles) {
  const render::Surface stored = test::CoordinatePicture(70, 45);
  const std::vector<std::vector<int>> identities = {{6, 8}, {8, 6}, {5, 5}, {7, 7}, {2, 2}, {4, 4}};
  for (const std::vector<int>& turns : identities) {
    render::Surface picture = stored;
    for (int o : turns) ASSERT_TRUE(TurnUpright(picture, o, kRoomy).ok());
    EXPECT_TRUE(picture == stored) << turns[0] << " then " << turns[1];
  }
  render::Surface twice = stored, half = stored;
  for (int o : {6, 6}) ASSERT_TRUE(TurnUpright(twice, o, kRoomy).ok());
  ASSERT_TRUE(TurnUpright(half, 3, kRoomy).ok());
  EXPECT_TRUE(twice == half);
}

// The turned copy must fit beside the picture; turning in place needs no memory.
TEST(TurnUpright, CountsTheTurnedCopyFirst) {
  render::Surface picture = test::CoordinatePicture(70, 45);
  const render::Surface stored = picture;
  const base::Status refused = TurnUpright(picture, 6, {1 << 20, 70 * 45 * 4 - 1});
  EXPECT_EQ(refused.cause(), base::Cause::TooLarge);
  EXPECT_TRUE(picture == stored);
  EXPECT_TRUE(TurnUpright(picture, 6, {1 << 20, 70 * 45 * 4}).ok());
  EXPECT_TRUE(TurnUpright(picture, 3, {1 << 20, 0}).ok());
}

}  // namespace
}  // namespace kinetta::image

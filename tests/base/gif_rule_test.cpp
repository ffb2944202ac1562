// The GIF rule: which names are GIFs.
#include "base/gif_rule.h"

#include <gtest/gtest.h>

namespace kinetta::base {
namespace {

TEST(GifRule, GifIsJudgedOnTheFileNamesOwnExtension) {
  EXPECT_TRUE(IsGifName("/pics/anim.GIF"));
  EXPECT_TRUE(IsGifName("/pics/anim.gif"));
  EXPECT_TRUE(IsGifName("/pics/a.b.gif"));
  EXPECT_TRUE(IsGifName("/my.pics/anim.Gif"));
  EXPECT_FALSE(IsGifName("/my.gif/pic.jpg"));
  EXPECT_FALSE(IsGifName("/pics/gif"));
  EXPECT_FALSE(IsGifName("/pics/anim.gifx"));
}

}  // namespace
}  // namespace kinetta::base

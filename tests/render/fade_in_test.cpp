// The fade-in: the cross-fade's weighted means, the dots' threshold, and the frames of both
// modes from the background to the source.
#include "render/renderers/fade_in.h"

#include <gtest/gtest.h>

#include "render/geometry.h"
#include "render/motions.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

using test::PixelIs;

Settings FadeSettings(int frames, int dots, Colour back) {
  return {.ShapeIndex = 8, .BackColor = back, .FrameCount = frames, .Shade3D = dots};
}

TEST(FadeInFormulas, CrossFadeWeights) {
  const int fromBlack[] = {64, 128, 191, 255};  // 63.75, 127.5, 191.25, 255
  const int fromWhite[] = {191, 128, 64, 0};
  for (int k = 1; k < 5; ++k) {
    EXPECT_EQ(fadein::CrossFade(0, 255, k, 5), fromBlack[k - 1]) << k;
    EXPECT_EQ(fadein::CrossFade(255, 0, k, 5), fromWhite[k - 1]) << k;
  }
  EXPECT_EQ(fadein::CrossFade(100, 51, 1, 3), 76);  // 151 / 2 = 75.5 goes to 76
  // 200 frames: 99 x 255 + 255 x 100 = 50745 does not fit 16 bits; the mean is still 255.
  EXPECT_EQ(fadein::CrossFade(255, 255, 100, 200), 255);
  EXPECT_EQ(fadein::CrossFade(255, 0, 100, 200), 127);  // 25245 / 199 = 126.86
}

TEST(FadeInFormulas, DotThresholdAndBound) {
  EXPECT_EQ(fadein::DotThreshold(0.5f, 2), 0);   // 0.5 goes to 0
  EXPECT_EQ(fadein::DotThreshold(0.75f, 3), 2);  // 1.5 goes to 2
  EXPECT_EQ(fadein::DotThreshold(0.25f, 3), 0);  // 0.5 goes to 0
  // N = 2, frame 0: drawn while u / 2^24 <= 0.5. N = 3: frame 0 while 2u / 2^24 <= 0.5, frame 1
  // while 2u / 2^24 < 1.5. The last frame draws every u.
  EXPECT_EQ(fadein::DotBound(0, 2), 1 << 23);
  EXPECT_EQ(fadein::DotBound(0, 3), 1 << 22);
  EXPECT_EQ(fadein::DotBound(1, 3), 12582911);
  EXPECT_EQ(fadein::DotBound(2, 3), (1 << 24) - 1);
  EXPECT_EQ(fadein::DotBound(-1, 3), -1);
}

TEST(FadeIn, CrossFadeFramesFromBlackToWhite) {
  const auto f =
      test::RenderAll(test::SolidPicture(40, 30, Compose(255, 255, 255)), FadeSettings(5, 0, 0));
  ASSERT_EQ(f.size(), 5u);
  const int grey[] = {0, 64, 128, 191, 255};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(f[k], test::SolidPicture(40, 30, Compose(grey[k], grey[k], grey[k]))) << k;
  }
}

TEST(FadeIn, FirstFrameIsTheBackgroundLastTheSource) {
  const Surface src = test::CoordinatePicture(70, 33);
  const Colour back = Compose(9, 99, 199);
  for (int dots : {0, 1, 2}) {
    const auto one = test::RenderAll(src, FadeSettings(1, dots, back));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], test::SolidPicture(70, 33, back)) << "one frame, mode " << dots;
    for (int n : {2, 6}) {
      const auto f = test::RenderAll(src, FadeSettings(n, dots, back));
      EXPECT_EQ(f.front(), test::SolidPicture(70, 33, back)) << n << " frames, mode " << dots;
      EXPECT_EQ(f.back(), src) << n << " frames, mode " << dots;
    }
  }
}

TEST(FadeIn, DotsBuildUpAndFollowTheSeed) {
  const Surface src = test::CoordinatePicture(50, 40);
  const Colour back = Compose(1, 1, 1);
  const auto a = test::RenderAll(src, FadeSettings(4, 1, back), 11);
  const auto b = test::RenderAll(src, FadeSettings(4, 1, back), 12);
  EXPECT_TRUE(a == test::RenderAll(src, FadeSettings(4, 1, back), 11));
  EXPECT_FALSE(a[1] == b[1]);
  // Every pixel is the background or the source, and once drawn it stays.
  int drawn[3] = {0, 0, 0};
  for (int k = 1; k < 3; ++k) {
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 50; ++x) {
        const Colour c = a[k].Point(x, y);
        ASSERT_TRUE(c == back || c == src.Point(x, y)) << "(" << x << ", " << y << ")";
        if (a[k - 1].Point(x, y) != back) {
          ASSERT_EQ(c, src.Point(x, y));
        }
        drawn[k] += c != back;
      }
    }
  }
  // Frame 1 draws a pixel when round(3r) <= 1 (r < 0.5), frame 2 when round(3r) <= 2 (r < 5/6):
  // about 1000 and 1833 of the 2000 pixels.
  EXPECT_GT(drawn[1], 700);
  EXPECT_LT(drawn[1], 1300);
  EXPECT_GT(drawn[2], drawn[1]);
  EXPECT_LT(drawn[2], 2000);
}

// The dots drawn frame after frame on one canvas, each pixel drawing the generator's next value
// in the visiting order (columns in blocks of 32, rows within a block).
std::vector<Surface> DotsOneAfterAnother(const Surface& src, int n, Colour back,
                                         std::uint64_t seed) {
  const int w = src.width(), h = src.height();
  Surface canvas(w, h, back);
  std::vector<Surface> frames{canvas};
  fadein::DotRandom random(seed);
  for (int k = 1; k < n; ++k) {
    for (int x0 = 0; x0 < w; x0 += 32) {
      for (int y = 0; y < h; ++y) {
        for (int x = x0; x < std::min(w, x0 + 32); ++x) {
          if (fadein::DotThreshold(random.Next(), n) <= k) canvas.PSet(x, y, src.Point(x, y));
        }
      }
    }
    frames.push_back(canvas);
  }
  return frames;
}

TEST(FadeIn, DotFramesDrawnApartEqualTheDotsBuiltOneOnAnother) {
  // 70 columns: two full blocks of 32 and a narrower last one; 77: a last block of 13, eight
  // pixels drawn together and five one at a time where the processor draws eight at once.
  for (const Surface& src : {test::CoordinatePicture(70, 9), test::CoordinatePicture(77, 4)}) {
    for (int n : {2, 3, 7, 40}) {
      const auto expected = DotsOneAfterAnother(src, n, Compose(1, 2, 3), 77);
      EXPECT_TRUE(test::RenderAll(src, FadeSettings(n, 1, Compose(1, 2, 3)), 77, 3) == expected)
          << src.width() << " columns, " << n << " frames";
    }
  }
}

TEST(FadeIn, GeneratorValuesCanBeTakenOutOfOrder) {
  fadein::DotRandom random(9);
  for (std::uint64_t i = 0; i < 100; ++i)
    EXPECT_EQ(random.NextBits(), fadein::DotRandom::BitsAt(9, i));
  EXPECT_EQ(fadein::VisitIndex(0, 1, 70, 9), 32u);    // second row of the first block
  EXPECT_EQ(fadein::VisitIndex(33, 0, 70, 9), 289u);  // 32 x 9 + 1
  EXPECT_EQ(fadein::VisitIndex(65, 2, 70, 9), 64u * 9 + 2 * 6 + 1);
}

}  // namespace
}  // namespace kinetta::render

// The cut-out: slide offsets, the frame height, the AND with the mask, the background where the
// mask is black, and the mask row past an odd-height picture.
#include "render/renderers/cutout.h"

#include <gtest/gtest.h>

#include "render/geometry.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

using test::CoordinateColour;
using test::PixelIs;

constexpr Colour kWhite = 0xFFFFFF;

Settings CutoutSettings(int frames, Colour back) {
  return {.ShapeIndex = 7, .BackColor = back, .FrameCount = frames};
}

// A coordinate picture whose rows from `maskFrom` on are replaced by `mask(x, y)`.
template <typename Mask>
Surface WithMask(int w, int h, int maskFrom, Mask mask) {
  Surface s = test::CoordinatePicture(w, h);
  for (int y = maskFrom; y < h; ++y) {
    for (int x = 0; x < w; ++x) s.PSet(x, y, mask(x, y));
  }
  return s;
}

TEST(CutoutFormulas, FrameHeightAndCombine) {
  EXPECT_EQ(cutout::FrameHeight(80), 40);
  EXPECT_EQ(cutout::FrameHeight(81), 40);  // 40.5 goes to 40
  EXPECT_EQ(cutout::FrameHeight(83), 42);  // 41.5 goes to 42
  const Colour grey = Compose(128, 128, 128), back = Compose(0, 0, 255);
  EXPECT_EQ(cutout::Combine(Compose(255, 100, 50), grey, back), Compose(128, 0, 0));
  EXPECT_EQ(cutout::Combine(Compose(255, 100, 50), kWhite, back), Compose(255, 100, 50));
  EXPECT_EQ(cutout::Combine(Compose(255, 100, 50), 0, back), back);
  EXPECT_EQ(cutout::Combine(Compose(255, 100, 50), 0, 0), 0);
  EXPECT_EQ(cutout::Combine(Compose(255, 100, 50), kOutside, back), Compose(255, 100, 50));
}

TEST(Cutout, SlidesByRoundedOffsetsBehindAWhiteMask) {
  const auto f =
      test::RenderAll(WithMask(10, 8, 4, [](int, int) { return kWhite; }), CutoutSettings(4, 7));
  ASSERT_EQ(f.size(), 4u);
  const int offsets[] = {0, 2, 5, 8};  // 2.5 goes to 2, 7.5 to 8
  for (int k = 0; k < 4; ++k) {
    ASSERT_EQ(f[k].width(), 10);
    ASSERT_EQ(f[k].height(), 4);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 10; ++x) {
        EXPECT_TRUE(PixelIs(f[k], x, y, CoordinateColour((offsets[k] + x) % 10, y)))
            << "frame " << k;
      }
    }
  }
}

TEST(Cutout, MaskCutsFiltersAndShowsTheBackground) {
  // Mask columns: 0..3 black, 4..7 grey, 8..11 white; the unused last row (H = 9) is black.
  const auto mask = [](int x, int y) {
    if (y == 8 || x < 4) return Colour{0};
    return x < 8 ? Compose(128, 128, 128) : kWhite;
  };
  Surface src = WithMask(12, 9, 4, mask);
  for (int y = 0; y < 4; ++y) src.PSet(5, y, Compose(255, 100, 50));
  const Colour back = Compose(10, 20, 30);
  for (Colour b : {back, Colour{0}}) {
    const Surface f = test::RenderAll(src, CutoutSettings(1, b))[0];
    ASSERT_EQ(f.height(), 4);  // 4.5 goes to 4
    for (int y = 0; y < 4; ++y) {
      EXPECT_TRUE(PixelIs(f, 2, y, b));
      EXPECT_TRUE(PixelIs(f, 5, y, Compose(128, 0, 0)));  // ANDed with grey, never b
      EXPECT_TRUE(PixelIs(f, 9, y, CoordinateColour(9, y)));
    }
  }
}

TEST(Cutout, MaskRowPastAnOddPictureKeepsThePicture) {
  // H = 3: HH = 2, the picture is rows 0..1, the mask row 2 and row 3 lies past the work picture.
  const Surface src = WithMask(5, 3, 2, [](int, int) { return Colour{0}; });
  const Surface f = test::RenderAll(src, CutoutSettings(1, Compose(0, 0, 99)))[0];
  for (int x = 0; x < 5; ++x) {
    EXPECT_TRUE(PixelIs(f, x, 0, Compose(0, 0, 99)));
    EXPECT_TRUE(PixelIs(f, x, 1, CoordinateColour(x, 1)));
  }
}

}  // namespace
}  // namespace kinetta::render

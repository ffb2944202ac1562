// The main window's twips arithmetic: frames following their pictures, the source size, the
// frame canvas, the window grown to show them, and the stored placement with its fallbacks.
#include "app/window_layout.h"

#include <gtest/gtest.h>

namespace kinetta::app {
namespace {

TEST(WindowLayoutTest, TwipsPerPixelFollowTheDotsPerInch) {
  EXPECT_DOUBLE_EQ(TwipsPerPixelForDpi(96, 96).x, 15);
  EXPECT_DOUBLE_EQ(TwipsPerPixelForDpi(120, 144).x, 12);
  EXPECT_DOUBLE_EQ(TwipsPerPixelForDpi(120, 144).y, 10);
}

TEST(WindowLayoutTest, InitialGeometryIsTheForm) {
  const WindowLayout layout;
  EXPECT_EQ(layout.Frame1(), (TwipsRect{120, 480, 3852, 1332}));
  EXPECT_EQ(layout.Picture1(), (TwipsRect{240, 360, 3372, 852}));
  EXPECT_EQ(layout.Frame2(), (TwipsRect{120, 1920, 3852, 1332}));
  EXPECT_EQ(layout.Command1(), (TwipsRect{4080, 600, 612, 372}));
}

TEST(WindowLayoutTest, LoadedPictureMovesTheFramesAndTheAbortButton) {
  WindowLayout layout(TwipsPerPixel{15, 15});
  layout.SetPicture1Twips(4500, 3000);
  // 4500 + 480, 3000 + 600; 480 + 3600 + 120; 120 + 4980 + 120.
  EXPECT_EQ(layout.Frame1(), (TwipsRect{120, 480, 4980, 3600}));
  EXPECT_EQ(layout.Frame2().top, 4200);
  EXPECT_EQ(layout.Command1().left, 5220);
  EXPECT_EQ(layout.Command1().top, 600);
  EXPECT_EQ(layout.SourceWidthTwips(), 4500);
  EXPECT_EQ(layout.SourceHeightTwips(), 3000);
  EXPECT_EQ(layout.SourceWidthPx(), 300);
  EXPECT_EQ(layout.SourceHeightPx(), 200);
}

TEST(WindowLayoutTest, PicturesBeyondSixteenBitTwipsKeepTheirSize) {
  WindowLayout layout(TwipsPerPixel{15, 15});
  layout.SetSourcePicture(3000, 2185);  // 45000 x 32775 twips
  EXPECT_EQ(layout.SourceWidthTwips(), 45000);
  EXPECT_EQ(layout.SourceHeightTwips(), 32775);
  EXPECT_EQ(layout.SourceWidthPx(), 3000);
  EXPECT_EQ(layout.SourceHeightPx(), 2185);
  EXPECT_EQ(layout.Frame2().top, 480 + 32775 + 600 + 120);
}

TEST(WindowLayoutTest, SourceSizeRoundsHalvesToEven) {
  WindowLayout layout(TwipsPerPixel{15, 15});
  // 22.5 / 15 = 1.5 -> 2 pixels and 37.5 / 15 = 2.5 -> 2 pixels; the twips 22.5 -> 22, 37.5 -> 38.
  layout.SetPicture1Twips(22.5, 37.5);
  EXPECT_EQ(layout.SourceWidthTwips(), 22);
  EXPECT_EQ(layout.SourceHeightTwips(), 38);
  EXPECT_EQ(layout.SourceWidthPx(), 2);
  EXPECT_EQ(layout.SourceHeightPx(), 2);
}

TEST(WindowLayoutTest, OtherScreenResolutionsConvertEachAxis) {
  WindowLayout layout(TwipsPerPixel{12, 10});
  layout.SetSourcePicture(100, 50);  // 1200 x 500 twips
  EXPECT_EQ(layout.SourceWidthTwips(), 1200);
  EXPECT_EQ(layout.SourceHeightTwips(), 500);
  EXPECT_EQ(layout.Frame1().width, 1680);
  EXPECT_EQ(layout.Frame1().height, 1100);
  EXPECT_EQ(layout.SourceWidthPx(), 100);
  EXPECT_EQ(layout.SourceHeightPx(), 50);
}

TEST(WindowLayoutTest, FrameCanvasSizesTheSecondFrame) {
  WindowLayout layout(TwipsPerPixel{15, 15});
  layout.SetCanvas(120, 80);  // 1800 x 1200 twips
  EXPECT_EQ(layout.Picture2().width, 1800);
  EXPECT_EQ(layout.Frame2().width, 2280);
  EXPECT_EQ(layout.Frame2().height, 1800);
  EXPECT_EQ(layout.CanvasWidthPx(), 120);
  EXPECT_EQ(layout.CanvasHeightPx(), 80);
  // The second frame's top follows the first frame only.
  EXPECT_EQ(layout.Frame2().top, 1920);
}

TEST(WindowLayoutTest, InitialCanvasIsTheFormsPictureBoxInPixels) {
  const WindowLayout layout(TwipsPerPixel{15, 15});
  EXPECT_EQ(layout.CanvasWidthPx(), 225);  // 3372 / 15 = 224.8
  EXPECT_EQ(layout.CanvasHeightPx(), 57);  // 852 / 15 = 56.8
}

TEST(WindowLayoutTest, PixelsOfATwipsRectangle) {
  const WindowLayout layout(TwipsPerPixel{15, 15});
  EXPECT_EQ(layout.ToPixels(TwipsRect{120, 480, 3852, 1332}, 360), (PixelRect{8, 8, 257, 89}));
}

TEST(WindowLayoutTest, ContentBoundsCoverTheShownControlsWithAMargin) {
  WindowLayout layout(TwipsPerPixel{15, 15});
  layout.SetPicture1Twips(4500, 3000);
  // Right: Frame1 120 + 4980, or the abort button 5220 + 612; bottom: Frame2 4200 + 1332.
  EXPECT_EQ(layout.ContentBounds(false), (TwipsRect{0, 0, 5220, 5652}));
  EXPECT_EQ(layout.ContentBounds(true), (TwipsRect{0, 0, 5952, 5652}));
}

// ---- Growing the window -----------------------------------------------------------------------

struct GrowCase {
  const char* name;
  PixelRect window;
  PixelSize content;
  bool onScreen;
  PixelRect expected;
};

// A window whose frame adds 10 x 30 pixels and whose bars take 60 pixels of its height, on a
// 1280 x 1024 screen with 15-pixel scroll bars.
TEST(WindowGrownToFitTest, GrowsAsFarAsTheScreenAllowsAndNeverShrinks) {
  const GrowCase cases[] = {
      {"content fits", {100, 100, 400, 300}, {300, 200}, true, {100, 100, 400, 300}},
      {"grows by the missing room", {100, 100, 400, 300}, {500, 250}, true, {100, 100, 500, 310}},
      // 1280 - 10 wide at most, moved left to stay on the screen.
      {"too wide for the screen", {100, 100, 400, 300}, {2000, 200}, true, {0, 100, 1270, 300}},
      // 1024 - 30 high at most; the vertical scroll bar then needs 15 more pixels across.
      {"too tall: room for the bar", {100, 100, 400, 300}, {395, 2000}, true, {100, 0, 410, 994}},
      {"moved back from the edge", {1000, 100, 400, 300}, {500, 240}, true, {770, 100, 500, 300}},
      {"no screen: no bounds", {100, 100, 400, 300}, {3000, 3000}, false, {100, 100, 3000, 3060}},
      // Already wider than the screen allows: keeps its width, makes room for the bar below.
      {"never narrower", {0, 0, 1400, 300}, {1500, 240}, true, {0, 0, 1400, 315}},
  };
  for (const GrowCase& c : cases) {
    FitState state;
    state.window = c.window;
    state.frame = {10, 30};
    state.viewport = {c.window.width, c.window.height - 60};
    state.content = c.content;
    if (c.onScreen) state.screen = PixelRect{0, 0, 1280, 1024};
    state.scrollBar = 15;
    const PixelRect r = WindowGrownToFit(state);
    EXPECT_EQ(r, c.expected) << c.name << ": got " << r.left << ", " << r.top << ", " << r.width
                             << " x " << r.height;
  }
}

// ---- Placement -------------------------------------------------------------------------------

TEST(PlacementTest, MissingKeysGiveTheDefaults) {
  EXPECT_EQ(PlacementFromTexts({}, {}, {}, {}), (Placement{1000, 1000, 4900, 4500}));
}

struct PlacementCase {
  const char* left;
  const char* top;
  const char* width;
  const char* height;
  Placement expected;
};

class PlacementTextTest : public testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTextTest, ReadsEachValueOnItsOwn) {
  const PlacementCase c = GetParam();
  EXPECT_EQ(PlacementFromTexts(c.left, c.top, c.width, c.height), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PlacementTextTest,
    testing::Values(PlacementCase{"2000", "1500", "9000", "7000", {2000, 1500, 9000, 7000}},
                    PlacementCase{" 2000 ", "-300", "9000.5", "1e4", {2000, -300, 9000.5, 10000}},
                    // A text that is not a number takes that value's default only.
                    PlacementCase{"links", "1500", "9000", "7000", {1000, 1500, 9000, 7000}},
                    PlacementCase{"2000", "", "12x", "7000", {2000, 1000, 4900, 7000}},
                    // No width or height below a pixel.
                    PlacementCase{"2000", "1500", "0", "-45", {2000, 1500, 4900, 4500}}));

TEST(PlacementTest, StoredValuesAreSinglePrecision) {
  // 1234.56789 is not a float; the nearest float is 1234.56787109375.
  EXPECT_EQ(PlacementFromTexts("1234.56789", {}, {}, {}).left, 1234.56787109375);
}

TEST(PlacementTest, WindowMustReachAScreen) {
  const std::vector<PixelRect> screens{{0, 0, 1280, 1024}, {1280, 0, 800, 600}};
  EXPECT_TRUE(PlacementOnScreen({67, 67, 327, 300}, screens));
  // Entirely right of both screens, or below them.
  EXPECT_FALSE(PlacementOnScreen({2100, 10, 300, 300}, screens));
  EXPECT_FALSE(PlacementOnScreen({10, 1100, 300, 300}, screens));
  // On the second screen only.
  EXPECT_TRUE(PlacementOnScreen({1500, 100, 300, 300}, screens));
  // A 31-pixel sliver is not enough, 32 pixels are.
  EXPECT_FALSE(PlacementOnScreen({-269, 100, 300, 300}, screens));
  EXPECT_TRUE(PlacementOnScreen({-268, 100, 300, 300}, screens));
  EXPECT_FALSE(PlacementOnScreen({100, 993, 300, 300}, {{0, 0, 1280, 1024}}));
  EXPECT_TRUE(PlacementOnScreen({100, 992, 300, 300}, {{0, 0, 1280, 1024}}));
  // A window smaller than 32 pixels must lie wholly on a screen.
  EXPECT_TRUE(PlacementOnScreen({0, 0, 20, 20}, screens));
  EXPECT_FALSE(PlacementOnScreen({0, 0, 0, 300}, screens));
}

TEST(PlacementTest, OpeningPlacementFallsBackOnlyWhenTheScreensAreKnown) {
  const TwipsPerPixel tpp{15, 15};
  const Placement far{90000, 750, 7500, 6000};
  EXPECT_EQ(OpeningPlacement(far, tpp, {{0, 0, 1280, 1024}}), (PixelRect{67, 67, 327, 300}));
  EXPECT_EQ(OpeningPlacement(far, tpp, {}), (PixelRect{6000, 50, 500, 400}));
  // Stored back in twips, single precision: 1440 / 97 twips a pixel is no float.
  const TwipsPerPixel odd{1440.0 / 97, 15};
  EXPECT_EQ(
      StoredPlacement({1, 2, 3, 4}, odd),
      (Placement{static_cast<float>(1440.0 / 97), 30, static_cast<float>(3 * 1440.0 / 97), 60}));
}

}  // namespace
}  // namespace kinetta::app

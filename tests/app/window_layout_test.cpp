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
  EXPECT_EQ(layout.SourceFrame(), (TwipsRect{120, 480, 3852, 1332}));
  EXPECT_EQ(layout.SourcePicture(), (TwipsRect{240, 360, 3372, 852}));
  EXPECT_EQ(layout.CanvasFrame(), (TwipsRect{120, 1920, 3852, 1332}));
  EXPECT_EQ(layout.AbortButton(), (TwipsRect{4080, 600, 612, 372}));
}

TEST(WindowLayoutTest, LoadedPictureMovesTheFramesAndTheAbortButton) {
  WindowLayout layout(TwipsPerPixel{15, 15});
  layout.SetSourcePictureTwips(4500, 3000);
  // 4500 + 480, 3000 + 600; 480 + 3600 + 120; 120 + 4980 + 120.
  EXPECT_EQ(layout.SourceFrame(), (TwipsRect{120, 480, 4980, 3600}));
  EXPECT_EQ(layout.CanvasFrame().top, 4200);
  EXPECT_EQ(layout.AbortButton().left, 5220);
  EXPECT_EQ(layout.AbortButton().top, 600);
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
  EXPECT_EQ(layout.CanvasFrame().top, 480 + 32775 + 600 + 120);
}

TEST(WindowLayoutTest, SourceSizeRoundsHalvesToEven) {
  WindowLayout layout(TwipsPerPixel{15, 15});
  // 22.5 / 15 = 1.5 -> 2 pixels and 37.5 / 15 = 2.5 -> 2 pixels; the twips 22.5 -> 22, 37.5 -> 38.
  layout.SetSourcePictureTwips(22.5, 37.5);
  EXPECT_EQ(layout.SourceWidthTwips(), 22);
  EXPECT_EQ(layout.SourceHeightTwips(), 38);
  EXPECT_EQ(layout.SourceWidthPx(), 2);
  EXPECT_EQ(layout.SourceHeightPx(), 2);
  // The warnings and the size label read the whole twips over the twips per pixel, unrounded.
  EXPECT_FLOAT_EQ(layout.SourceSizeSingle().width, 22.0f / 15);
  EXPECT_FLOAT_EQ(layout.SourceSizeSingle().height, 38.0f / 15);
  // At 168 dpi the label divides in single precision and the warnings in double: 3 twips.
  WindowLayout odd(TwipsPerPixel{1440.0 / 168, 1440.0 / 168});
  odd.SetSourcePictureTwips(3, 3);
  EXPECT_EQ(odd.SourceSizeSingle().width, static_cast<float>(3 / (1440.0 / 168)));
  EXPECT_EQ(odd.SourceSizeForLabel().width, 3.0f / static_cast<float>(1440.0 / 168));
  EXPECT_NE(odd.SourceSizeSingle().width, odd.SourceSizeForLabel().width);
}

TEST(WindowLayoutTest, OtherScreenResolutionsConvertEachAxis) {
  WindowLayout layout(TwipsPerPixel{12, 10});
  layout.SetSourcePicture(100, 50);  // 1200 x 500 twips
  EXPECT_EQ(layout.SourceWidthTwips(), 1200);
  EXPECT_EQ(layout.SourceHeightTwips(), 500);
  EXPECT_EQ(layout.SourceFrame().width, 1680);
  EXPECT_EQ(layout.SourceFrame().height, 1100);
  EXPECT_EQ(layout.SourceWidthPx(), 100);
  EXPECT_EQ(layout.SourceHeightPx(), 50);
}

TEST(WindowLayoutTest, FrameCanvasSizesTheSecondFrame) {
  WindowLayout layout(TwipsPerPixel{15, 15});
  layout.SetCanvas(120, 80);  // 1800 x 1200 twips
  EXPECT_EQ(layout.CanvasPicture().width, 1800);
  EXPECT_EQ(layout.CanvasFrame().width, 2280);
  EXPECT_EQ(layout.CanvasFrame().height, 1800);
  EXPECT_EQ(layout.CanvasWidthPx(), 120);
  EXPECT_EQ(layout.CanvasHeightPx(), 80);
  // The second frame's top follows the first frame only.
  EXPECT_EQ(layout.CanvasFrame().top, 1920);
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
  layout.SetSourcePictureTwips(4500, 3000);
  // Right: the source frame 120 + 4980, or the abort button 5220 + 612; bottom: the canvas
  // frame 4200 + 1332.
  EXPECT_EQ(layout.ContentBounds(false), (TwipsRect{0, 0, 5220, 5652}));
  EXPECT_EQ(layout.ContentBounds(true), (TwipsRect{0, 0, 5952, 5652}));
}

// ---- Pictures larger than the screen ---------------------------------------------------------

struct FitCase {
  const char* name;
  PixelSize source;
  std::optional<PixelSize> canvas;  ///< the form's own preview box while no frame was shown
  PictureScales expected;
};

// The pictures as shown in a form of at most 1000 x 700 pixels at 15 twips a pixel: the form
// (with the abort button) fits, the pictures keep their proportions and are never enlarged, and
// the source size stays the real picture's. The room the pictures have: 1000 - 1 - 1452 / 15 =
// 902 (source) or 1000 - 1 - 48 = 951 (canvas) wide, 700 - 1 - 104 = 595 high together.
TEST(FitPicturesTest, ShowsBothPicturesWholeInTheRoomAndOnlyEverShrinksThem) {
  const FitCase cases[] = {
      {"both fit", {300, 200}, PixelSize{400, 300}, {1, 1}},
      {"no picture yet", {225, 57}, std::nullopt, {1, 1}},
      // Too wide: the width decides.
      {"wide source", {1804, 100}, std::nullopt, {0.5, 1}},
      // Too tall with the form's small preview box: that keeps its 852 twips, 56.8 pixels.
      {"tall source", {100, 1076}, std::nullopt, {(595 - 56.8) / 1076, 1}},
      // A small source keeps its height; the canvas takes the rest.
      {"small source", {100, 95}, PixelSize{1000, 1000}, {1, 0.5}},
      // Both too tall: half the height each.
      {"both tall", {595, 1190}, PixelSize{595, 1190}, {0.25, 0.25}},
  };
  const PixelSize room{1000, 700};
  for (const FitCase& c : cases) {
    WindowLayout layout(TwipsPerPixel{15, 15});
    layout.SetSourcePicture(c.source.width, c.source.height);
    if (c.canvas) layout.SetCanvas(c.canvas->width, c.canvas->height);
    const PictureScales scales = FitPictures(layout, room);
    EXPECT_DOUBLE_EQ(scales.source, c.expected.source) << c.name;
    EXPECT_DOUBLE_EQ(scales.canvas, c.expected.canvas) << c.name;

    const WindowLayout shown = layout.Shown(scales);
    const PixelRect form = shown.ToPixels(shown.ContentBounds(true), kClientOriginTop);
    EXPECT_LE(form.width, room.width) << c.name;
    EXPECT_LE(form.height + form.top, room.height) << c.name;
    const PixelRect p1 = shown.ToPixels(shown.SourcePicture());
    EXPECT_LE(p1.width, c.source.width) << c.name;
    EXPECT_NEAR(p1.width * c.source.height, p1.height * c.source.width, c.source.width) << c.name;
    EXPECT_EQ(shown.SourceWidthPx(), c.source.width) << c.name;
    EXPECT_EQ(shown.SourceHeightTwips(), c.source.height * 15) << c.name;
    if (scales.source == 1) {
      EXPECT_EQ(shown.SourceFrame(), layout.SourceFrame()) << c.name;
    }
    if (scales.canvas == 1) {
      EXPECT_EQ(shown.CanvasFrame().width, layout.CanvasFrame().width) << c.name;
      EXPECT_EQ(shown.CanvasFrame().height, layout.CanvasFrame().height) << c.name;
    }
  }
}

TEST(FitPicturesTest, ReducedCopiesKeepTheProportionsWithinTheirBound) {
  EXPECT_EQ(FittedSize({6000, 4000}, {902, 595}), (PixelSize{892, 595}));
  EXPECT_EQ(FittedSize({300, 200}, {902, 595}), (PixelSize{300, 200}));
  EXPECT_EQ(FittedSize({20000, 1}, {100, 100}), (PixelSize{100, 1}));
  const PictureRoom r = RoomForPictures({1000, 700}, TwipsPerPixel{15, 15});
  EXPECT_EQ(r.source, (PixelSize{902, 595}));
  EXPECT_EQ(r.canvas, (PixelSize{951, 595}));
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
// 1280 x 1024 screen with 15-pixel scroll bars: grown, or fitted down to `smallest`.
void ExpectFitted(const GrowCase& c, std::optional<PixelSize> smallest) {
  FitState state;
  state.window = c.window;
  state.frame = {10, 30};
  state.viewport = {c.window.width, c.window.height - 60};
  state.content = c.content;
  if (c.onScreen) state.screen = PixelRect{0, 0, 1280, 1024};
  state.scrollBar = 15;
  const PixelRect r = smallest ? WindowFitted(state, *smallest) : WindowGrownToFit(state);
  EXPECT_EQ(r, c.expected) << c.name << ": got " << r.left << ", " << r.top << ", " << r.width
                           << " x " << r.height;
}

TEST(WindowGrownToFitTest, GrowsAsFarAsTheScreenAllowsAndShrinksOnlyToTheScreen) {
  const GrowCase cases[] = {
      {"content fits", {100, 100, 400, 300}, {300, 200}, true, {100, 100, 400, 300}},
      {"grows by the missing room", {100, 100, 400, 300}, {500, 250}, true, {100, 100, 500, 310}},
      // 1280 - 10 wide at most, moved left to stay on the screen.
      {"too wide for the screen", {100, 100, 400, 300}, {2000, 200}, true, {0, 100, 1270, 300}},
      // 1024 - 30 high at most; the vertical scroll bar then needs 15 more pixels across.
      {"too tall: room for the bar", {100, 100, 400, 300}, {395, 2000}, true, {100, 0, 410, 994}},
      {"moved back from the edge", {1000, 100, 400, 300}, {500, 240}, true, {770, 100, 500, 300}},
      {"title bar above the screen", {100, -19, 400, 300}, {300, 200}, true, {100, 0, 400, 300}},
      {"no screen: no bounds", {100, 100, 400, 300}, {3000, 3000}, false, {100, 100, 3000, 3060}},
      // Already wider than the screen allows: brought back within it, with room for the bar.
      {"never past the screen", {0, 0, 1400, 300}, {1500, 240}, true, {0, 0, 1270, 315}},
  };
  for (const GrowCase& c : cases) ExpectFitted(c, std::nullopt);
}

// A newly opened picture: the window takes the content's size, down to the default size.
TEST(WindowFittedTest, ShrinksToTheContentButNotBelowTheSmallestSize) {
  const GrowCase cases[] = {
      {"shrinks to the content", {100, 100, 1200, 900}, {500, 400}, true, {100, 100, 500, 460}},
      {"not below the smallest", {100, 100, 1200, 900}, {200, 100}, true, {100, 100, 327, 300}},
      {"grows as before", {100, 100, 400, 300}, {500, 250}, true, {100, 100, 500, 310}},
      {"not past the screen", {0, 0, 1200, 900}, {1500, 2000}, true, {0, 0, 1270, 994}},
  };
  for (const GrowCase& c : cases) ExpectFitted(c, PixelSize{327, 300});
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

// The preview's sample of a run's frames, the run scaled to the box, the reduction of the picture
// and the copy kept of it.
#include "render/motion_preview.h"

#include <gtest/gtest.h>

#include "render/run.h"
#include "render/transparency.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

struct SampleCase {
  int frameCount, most;
  std::size_t size;
  std::vector<std::pair<int, int>> places;  // (place in the preview, run frame)
};

class SampledFramesTest : public testing::TestWithParam<SampleCase> {};

TEST_P(SampledFramesTest, SpreadsTheShownFramesThroughTheLoop) {
  const SampleCase c = GetParam();
  const std::vector<int> frames = SampledFrames(c.frameCount, c.most);
  ASSERT_EQ(frames.size(), c.size);
  for (const auto& [place, frame] : c.places) EXPECT_EQ(frames[place], frame) << place;
  for (std::size_t j = 1; j < frames.size(); ++j) EXPECT_LT(frames[j - 1], frames[j]);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, SampledFramesTest,
    testing::Values(SampleCase{0, 60, 0, {}}, SampleCase{-3, 60, 0, {}},
                    SampleCase{5, 60, 5, {{0, 0}, {4, 4}}}, SampleCase{60, 60, 60, {{59, 59}}},
                    // 100 frames in 60: place 30 is half the loop, frame 50; the last is 98.
                    SampleCase{100, 60, 60, {{0, 0}, {1, 1}, {2, 3}, {30, 50}, {59, 98}}},
                    SampleCase{1000, 60, 60, {{1, 16}, {30, 500}, {59, 983}}}));

struct PlanCase {
  int shape, widthMode, widthValue, w, h, box;
  int sourceWidth, sourceHeight, planWidthValue;
};

class PlanPreviewTest : public testing::TestWithParam<PlanCase> {};

TEST_P(PlanPreviewTest, ReducesSourceAndTypedWidthAlike) {
  const PlanCase c = GetParam();
  Settings s;
  s.ShapeIndex = c.shape;
  s.WidthMode = c.widthMode;
  s.WidthValue = c.widthValue;
  s.FrameCount = 100;
  const PreviewPlan plan = PlanPreview(s, c.w, c.h, c.box, 60);
  EXPECT_EQ(plan.sourceWidth, c.sourceWidth);
  EXPECT_EQ(plan.sourceHeight, c.sourceHeight);
  EXPECT_EQ(plan.settings.WidthValue, c.planWidthValue);
  EXPECT_EQ(plan.settings.ShapeIndex, c.shape);
  EXPECT_EQ(plan.settings.FrameCount, 100);  // the motion's phase is the run's
  EXPECT_EQ(plan.frames.size(), 60u);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, PlanPreviewTest,
    testing::Values(
        // plane 400 wide on 400 x 200 in a box of 100: a quarter
        PlanCase{0, 2, 400, 400, 200, 100, 100, 50, 100},
        // the sphere's frame is as wide as the picture is high: 200 x 200, a half
        PlanCase{2, 1, 100, 400, 200, 100, 200, 100, 100},
        // the water's frame is twice the picture's height: 400 x 400, a quarter
        PlanCase{5, 0, 100, 400, 200, 100, 100, 50, 100},
        // a frame that fits keeps its size
        PlanCase{0, 0, 100, 80, 60, 100, 80, 60, 100},
        // a width far wider than the picture: the picture shrinks to a pixel, the width to the box
        PlanCase{0, 2, 32767, 1, 1, 200, 1, 1, 200}));

// Each frame of a preview's sample is the run's frame of that number, for every motion, drawn in
// order or on several threads.
TEST(PreviewFrames, AreTheRunsFramesOfTheSameNumber) {
  const Surface source = test::CoordinatePicture(24, 16);
  for (int shape = 0; shape < 9; ++shape) {
    Settings s;
    s.ShapeIndex = shape;
    s.WidthMode = 0;
    s.FrameCount = 7;
    s.Shade3D = 1;
    s.BackColor = 0x204060;
    const std::vector<Surface> run = test::RenderAll(source, s);
    ASSERT_EQ(run.size(), 7u);
    for (int threads : {1, 3}) {
      RenderOptions o;
      o.threads = threads;
      o.seed = 1;
      o.frames = {1, 4, 6};
      std::vector<int> handed;
      const RunResult r = RenderFrames(source, s, o, [&](int k, const Surface& frame) {
        handed.push_back(k);
        EXPECT_TRUE(frame == run[k]) << "shape " << shape << " frame " << k;
        return FrameOutcome{};
      });
      EXPECT_EQ(r.outcome, RunStatus::Completed);
      EXPECT_EQ(r.framesDone, 3);
      EXPECT_EQ(handed, o.frames) << "shape " << shape << " threads " << threads;
    }
  }
}

TEST(Reduce, AveragesTheCoveredPixelsAndRepeatsWhenEnlarging) {
  Surface src(4, 2, 0);
  // Left block red 0, 10, 20, 31 (average 15.25 -> 15); right block green 100 and 201 (150.5
  // -> 151, a half rounded up), blue 255 throughout.
  const int reds[4] = {0, 10, 20, 31};
  for (int i = 0; i < 4; ++i) src.PSet(i % 2, i / 2, reds[i]);
  for (int y = 0; y < 2; ++y) {
    src.PSet(2, y, 100 * 256 + 255 * 65536);
    src.PSet(3, y, 201 * 256 + 255 * 65536);
  }
  const Surface half = Reduce(src, 2, 1);
  ASSERT_EQ(half.width(), 2);
  EXPECT_TRUE(test::PixelIs(half, 0, 0, 15));
  EXPECT_TRUE(test::PixelIs(half, 1, 0, 151 * 256 + 255 * 65536));
  const Surface big = Reduce(Surface(1, 1, 0x123456), 2, 3);
  for (int y = 0; y < 3; ++y) EXPECT_TRUE(test::PixelIs(big, 1, y, 0x123456));
  // With transparency the colours are weighted by opacity: a clear pixel adds none of its own
  // and halves the opacity; clear throughout stays clear.
  Surface seeThrough(2, 2, kClear);
  seeThrough.PSet(0, 0, WithOpacity(200, 255));
  seeThrough.PSet(1, 0, WithOpacity(100, 85));
  const Surface reduced = Reduce(seeThrough, 2, 1);
  EXPECT_EQ(reduced.Point(0, 0), WithOpacity(200, 128));
  EXPECT_EQ(reduced.Point(1, 0), WithOpacity(100, 43));
  EXPECT_EQ(Reduce(Surface(2, 2, kClear), 1, 1).Point(0, 0), kClear);
}

// The working copy is made once per picture and the picture itself serves its own size; a stop
// during the reduction keeps no half-made copy.
TEST(PreviewSources, ReducesEachPictureOnce) {
  PreviewSources sources;
  const auto picture = std::make_shared<const Surface>(test::CoordinatePicture(400, 200));
  const auto working = sources.SourceOfSize(picture, 100, 50, 100, nullptr);
  ASSERT_NE(working, nullptr);
  EXPECT_EQ(sources.SourceOfSize(picture, 100, 50, 100, nullptr), working);
  EXPECT_EQ(sources.SourceOfSize(picture, 400, 200, 100, nullptr), picture);
  const auto smaller = sources.SourceOfSize(picture, 50, 25, 100, nullptr);
  EXPECT_EQ(smaller->width(), 50);
  EXPECT_EQ(smaller->height(), 25);

  struct Stop final : Checkpoint {
    bool Step() override { return true; }
  } stop;
  const auto other = std::make_shared<const Surface>(test::CoordinatePicture(300, 300));
  EXPECT_EQ(sources.SourceOfSize(other, 100, 100, 100, &stop), nullptr);
  const auto made = sources.SourceOfSize(other, 100, 100, 100, nullptr);
  ASSERT_NE(made, nullptr);
  EXPECT_NE(made, working);
  EXPECT_EQ(made->width(), 100);
}

}  // namespace
}  // namespace kinetta::render

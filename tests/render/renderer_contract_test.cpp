// What every one of the nine motions must honour: the frame count, one canvas size for every
// frame, the abort at a checkpoint, the same frames on a second run and on several threads, and
// its own hold on its input.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>

#include "render/geometry.h"
#include "render/motions.h"
#include "render/run.h"
#include "render/run_budget.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

class RendererContract : public testing::TestWithParam<int> {
 protected:
  Settings MakeSettings(int frames) const {
    Settings s;
    s.ShapeIndex = GetParam();
    s.FrameCount = frames;
    s.WidthMode = 2;
    s.WidthValue = 70;
    s.Shade3D = 1;
    s.BackColor = Compose(10, 20, 30);
    return s;
  }
  // Tall enough for several checkpoints in every frame whatever the outer loop runs over.
  const Surface source_ = test::CoordinatePicture(80, 100);
};

std::string MotionName(const testing::TestParamInfo<int>& info) {
  return std::string(FindMotion(info.param)->id);
}

TEST_P(RendererContract, ProducesFrameCountFramesOfOneSize) {
  RunResult result;
  const auto frames = test::RenderAll(source_, MakeSettings(5), 7, 1, &result);
  EXPECT_EQ(result.outcome, RunStatus::Completed) << result.status.message();
  ASSERT_EQ(frames.size(), 5u);
  EXPECT_GT(frames[0].width(), 0);
  EXPECT_GT(frames[0].height(), 0);
  EXPECT_EQ(result.frameWidth, frames[0].width());
  EXPECT_EQ(result.frameHeight, frames[0].height());
  for (const Surface& f : frames) {
    EXPECT_EQ(f.width(), frames[0].width());
    EXPECT_EQ(f.height(), frames[0].height());
  }
}

TEST_P(RendererContract, NoFrameBelowOneFrameCount) {
  for (int n : {0, -3}) {
    RunResult result;
    EXPECT_TRUE(test::RenderAll(source_, MakeSettings(n), 7, 1, &result).empty());
    EXPECT_EQ(result.outcome, RunStatus::Completed);
    EXPECT_GT(result.frameWidth, 0) << "the size is known without drawing a frame";
  }
}

TEST_P(RendererContract, SameFramesOnASecondRunAndOnSeveralThreads) {
  const auto once = test::RenderAll(source_, MakeSettings(6), 42, 1);
  const auto again = test::RenderAll(source_, MakeSettings(6), 42, 1);
  const auto threaded = test::RenderAll(source_, MakeSettings(6), 42, 3);
  ASSERT_EQ(once.size(), 6u);
  EXPECT_TRUE(once == again);
  EXPECT_TRUE(once == threaded);
}

TEST_P(RendererContract, AbortAtACheckpointKeepsTheFramesBefore) {
  RunControl control;
  RenderOptions o;
  o.threads = 1;
  o.control = &control;
  o.onCheckpoint = [&](int frame) {
    if (frame == 3) control.abort = true;
  };
  const bool cutout = GetParam() == static_cast<int>(Shape::Cutout);
  int handed = 0;
  const RunResult r = RenderFrames(source_, MakeSettings(6), o, [&](int k, const Surface&) {
    ++handed;
    // The cut-out has no checkpoints: press abort between frames.
    if (cutout && k == 2) control.abort = true;
    return FrameOutcome{};
  });
  EXPECT_EQ(r.outcome, RunStatus::Aborted);
  if (cutout) {
    EXPECT_EQ(handed, 6) << "the cut-out never stops for the abort button";
  } else {
    EXPECT_EQ(handed, 3);
  }
  EXPECT_EQ(r.framesDone, handed);
}

TEST_P(RendererContract, WorksOnSourcesPastSixteenBits) {
  // 12000 columns: three copies side by side are 36000 wide, past the old 16-bit limit.
  Settings s = MakeSettings(2);
  s.WidthMode = 0;
  const Surface wide = test::SolidPicture(12000, 6, Compose(200, 100, 50));
  RunResult result;
  const auto frames = test::RenderAll(wide, s, 7, 2, &result);
  ASSERT_EQ(frames.size(), 2u) << result.status.message();
  const FrameSize expected[] = {{12000, 6},  {12000, 6}, {12000, 6}, {12000, 6}, {12600, 7},
                                {12000, 12}, {13200, 3}, {12000, 3}, {12000, 6}};
  EXPECT_EQ(frames[1].width(), expected[GetParam()].width);
  EXPECT_EQ(frames[1].height(), expected[GetParam()].height);
}

// Drawn a strip at a time, every frame comes out as on a whole canvas, each row handed on once,
// with the rows a motion never draws (round the sphere, the water's upper half) as StartRow
// lays them; on one thread and on two, with either switch.
TEST_P(RendererContract, StripsGiveTheCanvasFrames) {
  // Assembles a frame from its strips.
  class Assembling final : public FrameSink {
   public:
    Assembling(int k, FrameSize size, std::vector<Surface>& frames)
        : k_(k), frame_(size.width, size.height), seen_(size.height), frames_(frames) {}
    base::Status Rows(int first, int count, const std::uint32_t* const* rows) override {
      EXPECT_LE(count, FrameRows::kStripRows);
      for (int i = 0; i < count; ++i) {
        const int y = first + i;
        EXPECT_FALSE(seen_[static_cast<std::size_t>(y)]) << "row " << y << " twice";
        seen_[static_cast<std::size_t>(y)] = true;
        std::copy_n(rows[i], frame_.width(), frame_.Row(y));
      }
      return base::Status::Ok();
    }
    FrameCommit Finish() override {
      EXPECT_EQ(std::count(seen_.begin(), seen_.end(), true), frame_.height());
      return [k = k_, frame = frame_, &frames = frames_] {
        EXPECT_EQ(k, static_cast<int>(frames.size()));
        frames.push_back(frame);
        return FrameOutcome{};
      };
    }

   private:
    const int k_;
    Surface frame_;
    std::vector<bool> seen_;
    std::vector<Surface>& frames_;
  };
  for (const int shade : {0, 1}) {
    for (const int threads : {1, 2}) {
      Settings s = MakeSettings(5);
      s.Shade3D = shade;
      const auto expected = test::RenderAll(source_, s, 42, 1);
      const FrameSize size = PlannedFrameSize(s, source_.width(), source_.height());
      std::vector<Surface> frames;
      RenderOptions o;
      o.seed = 42;
      o.threads = threads;
      const RunResult r = RenderFrames(
          source_, s, o, [&](int k) { return std::make_unique<Assembling>(k, size, frames); });
      EXPECT_EQ(r.outcome, RunStatus::Completed) << r.status.message();
      EXPECT_TRUE(frames == expected) << "shade " << shade << ", " << threads << " threads";
    }
  }
}

// A renderer holds its own input: made from a work picture and settings that the caller then
// lets go, it still draws the driver's frames.
TEST_P(RendererContract, KeepsItsInputAfterTheCallerLetsGo) {
  struct NeverStop final : Checkpoint {
    bool Step() override { return false; }
  } checkpoint;
  const Settings s = MakeSettings(4);
  const Motion& motion = *FindMotion(GetParam());
  std::unique_ptr<const Renderer> renderer;
  {
    const RenderInput in{std::make_shared<const Surface>(source_), source_.width(),
                         source_.height(), s, 42};
    renderer = motion.make(in);
  }
  const auto expected = test::RenderAll(source_, s, 42, 1);
  ASSERT_EQ(expected.size(), 4u);
  Surface canvas(renderer->Size().width, renderer->Size().height);
  renderer->StartCanvas(canvas);
  for (int k = 0; k < 4; ++k) {
    ASSERT_TRUE(renderer->DrawFrame(k, canvas, checkpoint));
    EXPECT_TRUE(canvas == expected[static_cast<std::size_t>(k)]) << "frame " << k;
  }
}

// The run's memory check works out the frame size without building the renderer: it must be the
// size the renderer gives, for every width mode and switch, down to sources of one pixel.
TEST_P(RendererContract, PlannedFrameSizeIsTheRenderersSize) {
  const Motion& motion = *FindMotion(GetParam());
  for (const int w : {1, 2, 3, 7, 41}) {
    for (const int h : {1, 2, 3, 11, 40}) {
      for (const int mode : {0, 1, 2}) {
        for (const int shade : {0, 1}) {
          Settings s = MakeSettings(3);
          s.WidthMode = mode;
          s.WidthValue = 13;
          s.Shade3D = shade;
          const Surface src = test::CoordinatePicture(w, h);
          const auto renderer = motion.make({std::make_shared<const Surface>(src), w, h, s, 1});
          const FrameSize planned = PlannedFrameSize(s, w, h);
          EXPECT_EQ(planned.width, renderer->Size().width) << w << "x" << h << " mode " << mode;
          EXPECT_EQ(planned.height, renderer->Size().height) << w << "x" << h << " mode " << mode;
        }
      }
    }
  }
}

// The tables a renderer makes once per run, which its motion counts, are made with the checkpoint
// too, and a stop asked at its first call ends them there.
TEST_P(RendererContract, TableMakingTakesTheCheckpointAndStops) {
  struct Counting final : Checkpoint {
    explicit Counting(bool stop) : stop_(stop) {}
    bool Step() override {
      ++calls;
      return stop_;
    }
    int calls = 0;
    bool stop_;
  };
  const Motion& motion = *FindMotion(GetParam());
  const Settings s = MakeSettings(4);
  const bool hasTables = motion.tableBytes(s, source_.width(), source_.height()) > 0;
  const auto work = std::make_shared<const Surface>(source_);
  for (const bool stop : {false, true}) {
    Counting checkpoint(stop);
    RenderInput in{work, source_.width(), source_.height(), s, 42, &checkpoint};
    motion.make(in);
    if (!hasTables) {
      EXPECT_EQ(checkpoint.calls, 0);
    } else if (stop) {
      EXPECT_EQ(checkpoint.calls, 1);
    } else {
      EXPECT_GE(checkpoint.calls, 2);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllMotions, RendererContract, testing::Range(0, 9), MotionName);

TEST(LargeSources, PlaneReadsPastSixteenBitColumnsAndWaterDoublesATallPicture) {
  Settings s;
  s.ShapeIndex = static_cast<int>(Shape::Plane);
  s.WidthMode = 0;
  s.FrameCount = 2;
  s.Shade3D = 0;
  Surface src(12000, 2);
  src.PSet(1000, 1, Compose(1, 2, 3));
  // Frame 1 slides by 6000: its column 7000 reads work column 13000, source column 1000.
  EXPECT_TRUE(test::PixelIs(test::RenderAll(src, s)[1], 7000, 1, Compose(1, 2, 3)));

  s.ShapeIndex = static_cast<int>(Shape::Water);
  s.FrameCount = 1;
  const auto water = test::RenderAll(test::SolidPicture(3, 17000, Compose(9, 9, 9)), s);
  ASSERT_EQ(water.size(), 1u);
  EXPECT_EQ(water[0].height(), 34000);
  EXPECT_TRUE(test::PixelIs(water[0], 1, 33999, Compose(9, 9, 9)));
}

}  // namespace
}  // namespace kinetta::render

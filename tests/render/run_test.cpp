// The run: checks before it, the work picture, and the parallel driver's order, abort and errors.
#include "render/run.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <vector>

#include "render/geometry.h"
#include "render/motions.h"
#include "render/run_budget.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

struct WarningCase {
  int widthMode, widthValue, frames;
  double w, h;
  std::vector<RunWarning> expected;
};

class CheckRunTest : public testing::TestWithParam<WarningCase> {};

TEST_P(CheckRunTest, WarnsPastTheThresholds) {
  const WarningCase c = GetParam();
  Settings s;
  s.WidthMode = c.widthMode;
  s.WidthValue = c.widthValue;
  s.FrameCount = c.frames;
  EXPECT_EQ(CheckRunWarnings(s, c.w, c.h), c.expected);
}

using W = RunWarning;
INSTANTIATE_TEST_SUITE_P(
    Thresholds, CheckRunTest,
    testing::Values(
        WarningCase{2, 500, 40, 100, 100, {}}, WarningCase{2, 501, 40, 100, 100, {W::WideFrame}},
        WarningCase{0, 0, 1, 500, 100, {}}, WarningCase{0, 0, 1, 500.5, 100, {W::WideFrame}},
        WarningCase{1, 0, 1, 100, 501, {W::WideFrame}}, WarningCase{1, 0, 1, 100, 500, {}},
        WarningCase{2, 100, 1, 300, 300, {}}, WarningCase{2, 100, 1, 301, 300, {}},
        WarningCase{2, 100, 1, 301, 301, {W::LargeSource}},
        WarningCase{2, 100, 41, 10, 10, {W::ManyFrames}},
        WarningCase{2, 600, 41, 400, 400, {W::WideFrame, W::LargeSource, W::ManyFrames}}));

TEST(CheckRun, QuestionIsTheWarningThenTheContinueLine) {
  EXPECT_EQ(WarningQuestion(RunWarning::ManyFrames),
            "こま数が多くて時間がかかります。\n実行を継続しますか？");
}

Settings PlaneRun(int frames) {
  Settings s;
  s.ShapeIndex = 0;
  s.FrameCount = frames;
  s.WidthMode = 0;
  s.Shade3D = 0;
  return s;
}

TEST(RenderFrames, ParallelAbortLeavesAPrefixOfFrames) {
  RunControl control;
  RenderOptions o;
  o.threads = 3;
  o.control = &control;
  o.onCheckpoint = [&](int frame) {
    if (frame == 5) control.abort = true;
  };
  std::vector<int> handed;
  const RunResult r =
      RenderFrames(test::CoordinatePicture(100, 40), PlaneRun(20), o, [&](int k, const Surface&) {
        handed.push_back(k);
        return FrameOutcome{};
      });
  EXPECT_EQ(r.outcome, RunStatus::Aborted);
  EXPECT_LT(handed.size(), 20u);
  for (std::size_t i = 0; i < handed.size(); ++i) EXPECT_EQ(handed[i], static_cast<int>(i));
}

// Staged frames are committed in frame order on the calling thread, the stage running on the
// drawing threads; when a commit fails, the run ends there, and frames staged after it are
// dropped without being committed.
TEST(RenderFrames, StagedFramesAreCommittedInOrderAndDroppedAfterAFailure) {
  for (const int threads : {1, 3}) {
    RenderOptions o;
    o.threads = threads;
    const std::thread::id caller = std::this_thread::get_id();
    const auto staged = std::make_shared<int>(0);  // each commit holds a copy
    std::atomic<int> stagedElsewhere{0};
    std::vector<int> committed;
    const RunResult r = RenderFrames(
        test::CoordinatePicture(100, 40), PlaneRun(20), o,
        [&](int k, const Surface&) -> FrameCommit {
          if (std::this_thread::get_id() != caller) ++stagedElsewhere;
          return [&committed, k, staged] {
            if (k == 7) {
              return FrameOutcome{base::Status::Failed(base::Cause::NoSpace, "full"), "frame 7"};
            }
            committed.push_back(k);
            return FrameOutcome{};
          };
        });
    EXPECT_EQ(r.outcome, RunStatus::WriteFailed) << threads;
    EXPECT_EQ(r.framesDone, 7) << threads;
    EXPECT_EQ(r.failedPath, "frame 7");
    EXPECT_EQ(r.status.cause(), base::Cause::NoSpace) << threads;
    EXPECT_EQ(r.status.message(), "full") << threads;
    EXPECT_EQ(committed, (std::vector<int>{0, 1, 2, 3, 4, 5, 6})) << threads;
    EXPECT_EQ(staged.use_count(), 1) << threads << " threads: a commit outlived the run";
    EXPECT_EQ(stagedElsewhere > 0, threads > 1) << threads;
  }
}

// Frames handed on a strip at a time: a sink that fails stops its frame at the next strip, and
// the run ends with the failure its commit reports, after the frames before it.
TEST(RenderFrames, FailingSinkEndsTheRunAtItsFrame) {
  class Failing final : public FrameSink {
   public:
    Failing(int k, std::vector<int>& strips) : k_(k), strips_(strips) {}
    base::Status Rows(int, int, const std::uint32_t* const*) override {
      ++strips_[static_cast<std::size_t>(k_)];
      return k_ != 2 ? base::Status::Ok() : base::Status::Failed(base::Cause::NoSpace, "full");
    }
    FrameCommit Finish() override {
      return [k = k_] {
        return k == 2 ? FrameOutcome{base::Status::Failed(base::Cause::NoSpace, "full"), "frame 2"}
                      : FrameOutcome{};
      };
    }

   private:
    const int k_;
    std::vector<int>& strips_;
  };
  RenderOptions o;
  o.threads = 1;
  std::vector<int> strips(6);
  // 200 rows: seven strips a frame.
  const RunResult r = RenderFrames(test::CoordinatePicture(50, 200), PlaneRun(6), o,
                                   [&](int k) { return std::make_unique<Failing>(k, strips); });
  EXPECT_EQ(r.outcome, RunStatus::WriteFailed);
  EXPECT_EQ(r.framesDone, 2);
  EXPECT_EQ(r.failedPath, "frame 2");
  EXPECT_EQ(strips, (std::vector<int>{7, 7, 1, 0, 0, 0}));
}

TEST(RenderFrames, AbortBeforeTheFirstFrameDrawsNoMotionNotEvenTheCutout) {
  for (int shape : {0, 7}) {
    RunControl control;
    control.abort = true;
    RenderOptions o;
    o.control = &control;
    Settings s = PlaneRun(4);
    s.ShapeIndex = shape;
    int handed = 0;
    const RunResult r =
        RenderFrames(test::CoordinatePicture(10, 10), s, o, [&](int, const Surface&) {
          ++handed;
          return FrameOutcome{};
        });
    EXPECT_EQ(r.outcome, RunStatus::Aborted) << shape;
    EXPECT_EQ(handed, 0) << shape;
  }
}

TEST(RenderFrames, StopEndsEvenTheCutoutBetweenFrames) {
  RunControl control;
  RenderOptions o;
  o.threads = 1;
  o.control = &control;
  Settings s = PlaneRun(6);
  s.ShapeIndex = 7;
  int handed = 0;
  const RunResult r = RenderFrames(test::CoordinatePicture(10, 10), s, o, [&](int, const Surface&) {
    if (++handed == 2) control.stop = true;
    return FrameOutcome{};
  });
  EXPECT_EQ(r.outcome, RunStatus::Aborted);
  EXPECT_EQ(handed, 2);
}

// A run that needs more memory than it may take is refused before anything is drawn, naming the
// frame size; a budget of exactly what it needs lets it run.
TEST(RenderFrames, RunPastTheMemoryBudgetIsRefusedBeforeDrawing) {
  Settings tall = PlaneRun(3);
  tall.WidthMode = 1;  // frames as wide as the source is high: 40000 x 40000
  struct Case {
    Surface source;
    Settings settings;
    int threads;
    std::int64_t budgetOverNeed;
    RunStatus expected;
  };
  const Case cases[] = {
      {test::SolidPicture(16, 40000, 0), tall, 2, -1, RunStatus::TooLarge},
      {test::CoordinatePicture(100, 40), PlaneRun(20), 1, -1, RunStatus::TooLarge},
      {test::CoordinatePicture(100, 40), PlaneRun(20), 1, 0, RunStatus::Completed},
      {test::CoordinatePicture(100, 40), PlaneRun(20), 3, -1, RunStatus::TooLarge},
      {test::CoordinatePicture(100, 40), PlaneRun(20), 3, 0, RunStatus::Completed},
  };
  for (const Case& c : cases) {
    RenderOptions o;
    o.threads = c.threads;
    const std::uint64_t need =
        RunMemoryBytes(c.settings, c.source.width(), c.source.height(), c.threads);
    o.memoryBudget = static_cast<std::uint64_t>(static_cast<std::int64_t>(need) + c.budgetOverNeed);
    int handed = 0;
    const RunResult r = RenderFrames(c.source, c.settings, o, [&](int, const Surface&) {
      ++handed;
      return FrameOutcome{};
    });
    EXPECT_EQ(r.outcome, c.expected) << c.source.height() << ", " << c.threads << " threads";
    if (c.expected == RunStatus::TooLarge) {
      EXPECT_EQ(handed, 0);
      const std::string size = std::to_string(r.frameWidth) + " x " + std::to_string(r.frameHeight);
      EXPECT_NE(r.status.message().find("こまの大きさ " + size + " ピクセルでは約 "),
                std::string::npos)
          << r.status.message();
    }
  }
  EXPECT_GT(RunMemoryBytes(tall, 16, 40000, 2), std::uint64_t{40000} * 40000 * 4 * 2)
      << "two canvases of 40000 x 40000 pixels";
  EXPECT_EQ(RunMemoryBytes(tall, 16, 40000, 16), RunMemoryBytes(tall, 16, 40000, 2))
      << "as many frames in flight on any number of cores";
  EXPECT_LT(RunMemoryBytes(tall, 16, 40000, 2, FrameHolding::Strips), std::uint64_t{1} << 30)
      << "a strip of rows on each drawing thread instead of whole frames";
  // PNG frames go into their files from the top down: the water's reflection, drawn from the
  // bottom up, waits for the rows above it (half of its 4000 x 8000 frames, two in flight).
  Settings water;
  water.ShapeIndex = static_cast<int>(Shape::Water);
  const std::uint64_t bmp = RunMemoryBytes(water, 4000, 4000, 2, FrameHolding::Strips);
  water.FrameFiles = base::FrameFormat::Png;
  EXPECT_GT(RunMemoryBytes(water, 4000, 4000, 2, FrameHolding::Strips),
            bmp + std::uint64_t{4000} * 4000 * 4 * 2);
}

// A frame drawn row by row makes the calls a walk over its columns would: one per 32 columns,
// the first before any row, spread over the rows; a stop ends the frame at the row it falls in.
TEST(ColumnPacedCheckpoint, MakesOneCallPer32ColumnsFirstBeforeAnyRow) {
  struct Counting final : Checkpoint {
    bool Step() override { return ++calls == stopAt; }
    int calls = 0, stopAt = 0;
  };
  const struct {
    int columns, rows;
  } cases[] = {{1, 1}, {32, 100}, {33, 1}, {1000, 2}, {1000, 1000}, {65, 7}};
  for (const auto& c : cases) {
    Counting counting;
    ColumnPacedCheckpoint paced(counting, c.columns, c.rows);
    for (int y = 0; y < c.rows; ++y) {
      ASSERT_FALSE(paced.BeforeRow(y));
      if (y == 0) {
        EXPECT_GE(counting.calls, 1) << "the first call comes before the first row";
      }
    }
    EXPECT_EQ(counting.calls, (c.columns + 31) / 32) << c.columns << " x " << c.rows;
  }
  Counting stopping;
  stopping.stopAt = 2;
  ColumnPacedCheckpoint paced(stopping, 32 * 4, 8);  // four calls, one every other row
  EXPECT_FALSE(paced.BeforeRow(0));
  EXPECT_FALSE(paced.BeforeRow(1));
  EXPECT_TRUE(paced.BeforeRow(2));
  EXPECT_EQ(stopping.calls, 2);
}

// An error while a frame is drawn or handed on stops the run and reaches the caller
// once every drawing thread has ended, instead of ending the program.
TEST(RenderFrames, ErrorOnAnyThreadReachesTheCaller) {
  for (const std::string_view where : {"checkpoint", "consume"}) {
    for (const int threads : {1, 3}) {
      RenderOptions o;
      o.threads = threads;
      o.onCheckpoint = [where](int frame) {
        if (where == "checkpoint" && frame == 3) throw std::runtime_error("checkpoint");
      };
      auto consume = [where](int k, const Surface&) {
        if (where == "consume" && k == 2) throw std::runtime_error("consume");
        return FrameOutcome{};
      };
      EXPECT_THROW(RenderFrames(test::CoordinatePicture(100, 40), PlaneRun(20), o, consume),
                   std::runtime_error)
          << where << ", " << threads << " threads";
    }
  }
}

}  // namespace
}  // namespace kinetta::render

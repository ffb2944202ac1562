// The run: checks before it, the work picture, frame files and their naming, the stale next
// frame, write failures, refused frame sizes, and the parallel driver's order and abort.
#include "render/run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/path_helpers.h"
#include "render/geometry.h"
#include "test_support.h"

namespace kinetta::render {
namespace {

namespace fs = std::filesystem;

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
    testing::Values(WarningCase{2, 500, 40, 100, 100, {}},
                    WarningCase{2, 501, 40, 100, 100, {W::WideFrame}},
                    WarningCase{0, 0, 1, 500, 100, {}},
                    WarningCase{0, 0, 1, 500.5, 100, {W::WideFrame}},
                    WarningCase{1, 0, 1, 100, 501, {W::WideFrame}},
                    WarningCase{1, 0, 1, 100, 500, {}},
                    WarningCase{2, 100, 1, 300, 300, {}},
                    WarningCase{2, 100, 1, 301, 300, {}},
                    WarningCase{2, 100, 1, 301, 301, {W::LargeSource}},
                    WarningCase{2, 100, 41, 10, 10, {W::ManyFrames}},
                    WarningCase{2, 600, 41, 400, 400,
                                {W::WideFrame, W::LargeSource, W::ManyFrames}}));

TEST(CheckRun, QuestionIsTheWarningThenTheContinueLine) {
  EXPECT_EQ(WarningQuestion(RunWarning::ManyFrames),
            "こま数が多くて時間がかかります。\n実行を継続しますか？");
}

TEST(PrepareWork, PlacesCopiesSideBySide) {
  const Surface src = test::CoordinatePicture(7, 3);
  const Surface work = PrepareWork(src, 3);
  ASSERT_EQ(work.width(), 21);
  ASSERT_EQ(work.height(), 3);
  for (int x = 0; x < 21; ++x) {
    EXPECT_TRUE(test::PixelIs(work, x, 2, test::CoordinateColour(x % 7, 2)));
  }
}

Settings PlaneRun(int frames) {
  Settings s;
  s.ShapeIndex = 0;
  s.FrameCount = frames;
  s.WidthMode = 0;
  s.Shade3D = 0;
  return s;
}

void Touch(const fs::path& p) { std::ofstream(p) << "old"; }

TEST(RunConversion, NamesFramesAndDeletesOnlyTheNextNumber) {
  test::TempFolder dir;
  const std::string source = (dir / "cat.small.jpg").string();
  Touch(dir / "cat12.bmp");
  Touch(dir / "cat13.bmp");
  const RunResult r = RunConversion(test::CoordinatePicture(16, 8), source, PlaneRun(12), {});
  EXPECT_EQ(r.status, RunStatus::Completed);
  EXPECT_EQ(r.framesDone, 12);
  for (const char* name : {"cat00.bmp", "cat09.bmp", "cat10.bmp", "cat11.bmp"}) {
    EXPECT_TRUE(fs::exists(dir / name)) << name;
  }
  EXPECT_FALSE(fs::exists(dir / "cat12.bmp"));
  EXPECT_TRUE(fs::exists(dir / "cat13.bmp"));
  EXPECT_EQ(fs::file_size(dir / "cat00.bmp"), 54u + 16 * 3 * 8);
}

TEST(RunConversion, OneFrameDeletesFrameOne) {
  test::TempFolder dir;
  Touch(dir / "pic01.bmp");
  RunConversion(test::CoordinatePicture(4, 4), (dir / "pic.bmp").string(), PlaneRun(1), {});
  EXPECT_TRUE(fs::exists(dir / "pic00.bmp"));
  EXPECT_FALSE(fs::exists(dir / "pic01.bmp"));
}

TEST(RunConversion, PathWithoutAPointUsesTheWholePath) {
  test::TempFolder dir;
  RunConversion(test::CoordinatePicture(4, 4), (dir / "picture").string(), PlaneRun(2), {});
  EXPECT_TRUE(fs::exists(dir / "picture00.bmp"));
  EXPECT_TRUE(fs::exists(dir / "picture01.bmp"));
}

TEST(RunConversion, UnwritableFrameEndsTheRunNamingTheFileAndKeepsEarlierFrames) {
  // A folder in frame 2's place cannot be replaced by a file, even by root.
  test::TempFolder dir;
  fs::create_directory(dir / "cat02.bmp");
  RenderOptions o;
  o.threads = 2;
  const RunResult r =
      RunConversion(test::CoordinatePicture(8, 8), (dir / "cat.png").string(), PlaneRun(5), o);
  EXPECT_EQ(r.status, RunStatus::WriteFailed);
  EXPECT_EQ(r.framesDone, 2);
  EXPECT_EQ(r.failedPath, (dir / "cat02.bmp").string());
  EXPECT_NE(r.message.find("cat02.bmp"), std::string::npos);
  EXPECT_TRUE(fs::exists(dir / "cat01.bmp"));
  EXPECT_FALSE(fs::exists(dir / "cat03.bmp"));
  // No temporary file is left behind.
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 3);  // cat00.bmp, cat01.bmp and the folder
}

TEST(RunConversion, FrameNarrowerThanOnePixelIsRefusedBeforeWriting) {
  test::TempFolder dir;
  Settings s = PlaneRun(3);
  s.WidthMode = 2;
  s.WidthValue = 0;
  RunResult r = RunConversion(test::CoordinatePicture(8, 8), (dir / "a.jpg").string(), s, {});
  EXPECT_EQ(r.status, RunStatus::BadFrameSize);
  EXPECT_FALSE(r.message.empty());
  s.WidthMode = 7;  // any other mode gives width 0
  r = RunConversion(test::CoordinatePicture(8, 8), (dir / "a.jpg").string(), s, {});
  EXPECT_EQ(r.status, RunStatus::BadFrameSize);
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(RunConversion, UnknownShapeIsReportedNotCompleted) {
  Settings s = PlaneRun(2);
  s.ShapeIndex = 9;
  test::TempFolder dir;
  const RunResult r = RunConversion(test::CoordinatePicture(8, 8), (dir / "a.jpg").string(), s, {});
  EXPECT_EQ(r.status, RunStatus::NoShape);
  EXPECT_TRUE(fs::is_empty(dir.path()));
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
  const RunResult r = RenderFrames(test::CoordinatePicture(100, 40), PlaneRun(20), o,
                                   [&](int k, const Surface&, std::string&, std::string&) {
                                     handed.push_back(k);
                                     return true;
                                   });
  EXPECT_EQ(r.status, RunStatus::Aborted);
  EXPECT_LT(handed.size(), 20u);
  for (std::size_t i = 0; i < handed.size(); ++i) EXPECT_EQ(handed[i], static_cast<int>(i));
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
    const RunResult r = RenderFrames(test::CoordinatePicture(10, 10), s, o,
                                     [&](int, const Surface&, std::string&, std::string&) {
                                       ++handed;
                                       return true;
                                     });
    EXPECT_EQ(r.status, RunStatus::Aborted) << shape;
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
  const RunResult r = RenderFrames(test::CoordinatePicture(10, 10), s, o,
                                   [&](int, const Surface&, std::string&, std::string&) {
                                     if (++handed == 2) control.stop = true;
                                     return true;
                                   });
  EXPECT_EQ(r.status, RunStatus::Aborted);
  EXPECT_EQ(handed, 2);
}

}  // namespace
}  // namespace kinetta::render

// The conversion run's frame files: names, the stale next frame, a failed write, and runs
// refused before anything is written.
#include "image/conversion.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/path_helpers.h"
#include "test_support.h"

namespace kinetta::image {
namespace {

namespace fs = std::filesystem;
using render::RenderOptions;
using render::RunControl;
using render::RunResult;
using render::RunStatus;

base::Settings PlaneRun(int frames) {
  base::Settings s;
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
  base::Settings s = PlaneRun(3);
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
  base::Settings s = PlaneRun(2);
  s.ShapeIndex = 9;
  test::TempFolder dir;
  const RunResult r = RunConversion(test::CoordinatePicture(8, 8), (dir / "a.jpg").string(), s, {});
  EXPECT_EQ(r.status, RunStatus::NoShape);
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

}  // namespace
}  // namespace kinetta::image

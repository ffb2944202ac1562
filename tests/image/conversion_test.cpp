// The conversion run's frame files: names, the stale next frame, a failed write, and runs
// refused before anything is written.
#include "image/conversion.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/path_helpers.h"
#include "image/bmp_file.h"
#include "render/transparency.h"
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
  test::TrashFolder trash;
  test::TempFolder dir;
  const std::string source = (dir / "cat.small.jpg").string();
  Touch(dir / "cat12.bmp");
  Touch(dir / "cat13.bmp");
  const RunResult r = RunConversion(test::CoordinatePicture(16, 8), source, PlaneRun(12), {});
  EXPECT_EQ(r.outcome, RunStatus::Completed);
  EXPECT_EQ(r.framesDone, 12);
  for (const char* name : {"cat00.bmp", "cat09.bmp", "cat10.bmp", "cat11.bmp"}) {
    EXPECT_TRUE(fs::exists(dir / name)) << name;
  }
  EXPECT_FALSE(fs::exists(dir / "cat12.bmp"));
  EXPECT_TRUE(fs::exists(dir / "cat13.bmp"));
  EXPECT_EQ(fs::file_size(dir / "cat00.bmp"), 54u + 16 * 3 * 8);
}

TEST(RunConversion, OneFrameDeletesFrameOne) {
  test::TrashFolder trash;
  test::TempFolder dir;
  Touch(dir / "pic01.bmp");
  RunConversion(test::CoordinatePicture(4, 4), (dir / "pic.bmp").string(), PlaneRun(1), {});
  EXPECT_TRUE(fs::exists(dir / "pic00.bmp"));
  EXPECT_FALSE(fs::exists(dir / "pic01.bmp"));
}

// The file after the last frame goes to the trash, a frame of an earlier run or any other file
// that merely has a frame's name; without a trash, only a 24-bit BMP is deleted, any other file
// stays and the run says so. A folder of that name is left alone.
struct StaleCase {
  const char* name;
  bool trash;
  bool bmp;
  bool inTrash;
  bool stays;
};

TEST(RunConversion, StaleFrameGoesToTheTrashOrIsLeftWhenItIsNoFrame) {
  const StaleCase cases[] = {
      {"frame, trash", true, true, true, false},
      {"other file, trash", true, false, true, false},
      {"frame, no trash", false, true, false, false},
      {"other file, no trash", false, false, false, true},
  };
  for (const StaleCase& c : cases) {
    test::TrashFolder trash(c.trash);
    test::TempFolder dir;
    const fs::path stale = dir / "photo02.bmp";
    if (c.bmp) {
      ASSERT_TRUE(WriteBmp24(test::SolidPicture(3, 2, 0x0000FF), stale).ok());
    } else {
      Touch(stale);  // a picture of its own that only has a frame's name
    }
    const RunResult r =
        RunConversion(test::CoordinatePicture(4, 4), (dir / "photo.jpg").string(), PlaneRun(2), {});
    EXPECT_EQ(r.outcome, RunStatus::Completed) << c.name;
    EXPECT_EQ(fs::exists(stale), c.stays) << c.name;
    EXPECT_EQ(fs::exists(trash.Trashed("photo02.bmp")), c.inTrash) << c.name;
    EXPECT_EQ(r.notice.empty(), !c.stays) << c.name;
    if (c.stays) {
      EXPECT_NE(r.notice.find("photo02.bmp"), std::string::npos) << r.notice;
    }
  }
  test::TrashFolder trash;
  test::TempFolder dir;
  fs::create_directory(dir / "photo01.bmp");
  const RunResult r =
      RunConversion(test::CoordinatePicture(4, 4), (dir / "photo.jpg").string(), PlaneRun(1), {});
  EXPECT_TRUE(fs::is_directory(dir / "photo01.bmp"));
  EXPECT_TRUE(r.notice.empty());
}

TEST(RunConversion, PathWithoutAPointUsesTheWholePath) {
  test::TempFolder dir;
  RunConversion(test::CoordinatePicture(4, 4), (dir / "picture").string(), PlaneRun(2), {});
  EXPECT_TRUE(fs::exists(dir / "picture00.bmp"));
  EXPECT_TRUE(fs::exists(dir / "picture01.bmp"));
}

// The run with its frames written a strip at a time as they are drawn, or whole.
RunResult Convert(bool inStrips, const render::Surface& source, const std::string& path,
                  const base::Settings& s, const RenderOptions& o) {
  return inStrips ? RunConversionInStrips(source, path, s, o) : RunConversion(source, path, s, o);
}

// Frames written a strip at a time are the files of frames written whole: a sphere, whose rows
// round the ball are never drawn, 701 pixels wide for the rows' padding and for strips large
// enough to go through the pipe, on two threads.
// BMP frames, and PNG frames with a clear background (the water's rows come bottom-up).
TEST(RunConversion, StripsWriteTheSameFiles) {
  for (const int shape : {2, 5}) {
    test::TempFolder whole, strips;
    base::Settings s = PlaneRun(4);
    s.ShapeIndex = shape;
    s.Shade3D = 1;
    s.BackColor = 0x123456;
    s.TransparentBack = shape == 5;
    RenderOptions o;
    o.threads = 2;
    render::Surface source = test::CoordinatePicture(701, 80);
    source.PSet(3, 3, render::kClear);
    source.PSet(4, 3, render::WithOpacity(0x445566, 9));
    ASSERT_EQ(Convert(false, source, (whole / "a.bmp").string(), s, o).outcome,
              RunStatus::Completed);
    ASSERT_EQ(Convert(true, source, (strips / "a.bmp").string(), s, o).outcome,
              RunStatus::Completed);
    const std::string extension = base::FrameExtension(s);
    for (const std::string name : {"a00", "a01", "a02", "a03"}) {
      std::ifstream a(whole / (name + extension), std::ios::binary);
      std::ifstream b(strips / (name + extension), std::ios::binary);
      const std::string bytesA(std::istreambuf_iterator<char>(a), {});
      const std::string bytesB(std::istreambuf_iterator<char>(b), {});
      if (shape == 2) {
        EXPECT_EQ(bytesA.size(), 54u + 2104 * 80);
      }
      EXPECT_FALSE(bytesA.empty()) << name;
      EXPECT_TRUE(bytesA == bytesB) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(strips.path()), {}), 4);
  }
}

TEST(RunConversion, UnwritableFrameEndsTheRunNamingTheFileAndKeepsEarlierFrames) {
  for (const bool inStrips : {false, true}) {
    // A folder in frame 2's place cannot be replaced by a file, even by root.
    test::TempFolder dir;
    fs::create_directory(dir / "cat02.bmp");
    RenderOptions o;
    o.threads = 2;
    const RunResult r = Convert(inStrips, test::CoordinatePicture(8, 8), (dir / "cat.png").string(),
                                PlaneRun(5), o);
    EXPECT_EQ(r.outcome, RunStatus::WriteFailed);
    EXPECT_EQ(r.framesDone, 2);
    EXPECT_EQ(r.failedPath, (dir / "cat02.bmp").string());
    EXPECT_NE(r.status.message().find("cat02.bmp"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "cat01.bmp"));
    EXPECT_FALSE(fs::exists(dir / "cat03.bmp"));
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 3);  // cat00.bmp, cat01.bmp and the folder
  }
}

// A frame file that fails part way through its pieces (the file size limit here) leaves the old
// file as it was and no temporary, and the run names the file.
TEST(RunConversion, WriteFailingPartWayKeepsTheOldFileWhole) {
  for (const bool inStrips : {false, true}) {
    test::TempFolder dir;
    std::ofstream(dir / "cat00.bmp") << "old";
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const rlimit limited{3 * render::kFramePieceBytes / 2, saved.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    // Frames of 3 MB: the third piece goes past the limit.
    const RunResult r = Convert(inStrips, test::CoordinatePicture(1000, 1000),
                                (dir / "cat.jpg").string(), PlaneRun(3), {});
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(r.outcome, RunStatus::WriteFailed);
    EXPECT_EQ(r.framesDone, 0);
    EXPECT_EQ(r.failedPath, (dir / "cat00.bmp").string());
    EXPECT_NE(r.status.message().find("cat00.bmp"), std::string::npos) << r.status.message();
    std::ifstream in(dir / "cat00.bmp");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
  }
}

TEST(RunConversion, FrameNarrowerThanOnePixelIsRefusedBeforeWriting) {
  test::TempFolder dir;
  base::Settings s = PlaneRun(3);
  s.WidthMode = 2;
  s.WidthValue = 0;
  RunResult r = RunConversion(test::CoordinatePicture(8, 8), (dir / "a.jpg").string(), s, {});
  EXPECT_EQ(r.outcome, RunStatus::BadFrameSize);
  EXPECT_FALSE(r.status.message().empty());
  s.WidthMode = 7;  // any other mode gives width 0
  r = RunConversion(test::CoordinatePicture(8, 8), (dir / "a.jpg").string(), s, {});
  EXPECT_EQ(r.outcome, RunStatus::BadFrameSize);
  // The flip and the cut-out split a picture one row tall into no faces, whatever the width.
  for (const int shape : {6, 7}) {
    s.ShapeIndex = shape;
    r = RunConversion(test::CoordinatePicture(8, 1), (dir / "a.jpg").string(), s, {});
    EXPECT_EQ(r.outcome, RunStatus::BadFrameSize);
    EXPECT_EQ(r.status.message(), "原画の高さが 1 ピクセルしかなく、上下二つの面に分けられません。")
        << "shape " << shape;
  }
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(RunConversion, UnknownShapeIsReportedNotCompleted) {
  base::Settings s = PlaneRun(2);
  s.ShapeIndex = 9;
  test::TempFolder dir;
  const RunResult r = RunConversion(test::CoordinatePicture(8, 8), (dir / "a.jpg").string(), s, {});
  EXPECT_EQ(r.outcome, RunStatus::NoShape);
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

}  // namespace
}  // namespace kinetta::image

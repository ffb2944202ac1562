// Shared test helpers.
#include "test_support.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "render/geometry.h"

namespace kinetta::test {

render::Colour CoordinateColour(int x, int y) {
  return render::Compose(x & 0xFF, y & 0xFF, ((x >> 8) & 0xF) | (((y >> 8) & 0xF) << 4));
}

std::pair<int, int> DecodeCoordinate(render::Colour c) {
  const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  return {r | ((b & 0xF) << 8), g | ((b >> 4) << 8)};
}

render::Surface CoordinatePicture(int w, int h) {
  render::Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) s.PSet(x, y, CoordinateColour(x, y));
  }
  return s;
}

render::Surface SolidPicture(int w, int h, render::Colour c) { return render::Surface(w, h, c); }

std::vector<render::Surface> RenderAll(const render::Surface& source, const base::Settings& s,
                                       std::uint64_t seed, int threads, render::RunResult* result) {
  std::vector<render::Surface> frames;
  render::RenderOptions o;
  o.seed = seed;
  o.threads = threads;
  const render::RunResult r =
      render::RenderFrames(source, s, o, [&](int k, const render::Surface& f) {
        EXPECT_EQ(k, static_cast<int>(frames.size())) << "frames must arrive in order";
        frames.push_back(f);
        return render::FrameOutcome{};
      });
  if (result) *result = r;
  return frames;
}

namespace {
std::string Rgb(render::Colour c) {
  std::ostringstream o;
  if (c < 0) {
    o << "outside (" << c << ")";
  } else {
    o << "(" << (c & 0xFF) << ", " << ((c >> 8) & 0xFF) << ", " << ((c >> 16) & 0xFF) << ")";
  }
  return o.str();
}
}  // namespace

testing::AssertionResult PixelIs(const render::Surface& frame, int x, int y,
                                 render::Colour expected) {
  const render::Colour actual = frame.Point(x, y);
  if (actual == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << "pixel (" << x << ", " << y << ") of a " << frame.width() << " x " << frame.height()
         << " frame is " << Rgb(actual) << ", expected " << Rgb(expected);
}

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "kinetta";
  for (char& ch : name) {
    if (ch == '/') ch = '_';
  }
  path_ = std::filesystem::temp_directory_path() /
          ("kinetta-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" + name);
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

namespace {

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::optional<std::string>(value) : std::nullopt;
}

void Restore(const char* name, const std::optional<std::string>& value) {
  if (value) {
    ::setenv(name, value->c_str(), 1);
  } else {
    ::unsetenv(name);
  }
}

}  // namespace

// The trash of the freedesktop.org rules: $XDG_DATA_HOME/Trash, used for files on the home
// folder's file system, which the temporary folders share.
TrashFolder::TrashFolder(bool available)
    : home_(Environment("HOME")), dataHome_(Environment("XDG_DATA_HOME")) {
  const std::filesystem::path home = folder_ / "home";
  std::filesystem::create_directories(home / ".local" / "share");
  ::setenv("HOME", home.c_str(), 1);
  if (available) {
    ::setenv("XDG_DATA_HOME", (home / ".local" / "share").c_str(), 1);
  } else {
    // Under a file, no folder can be made.
    std::ofstream(folder_ / "blocked") << "a file";
    ::setenv("XDG_DATA_HOME", (folder_ / "blocked" / "share").c_str(), 1);
  }
}

TrashFolder::~TrashFolder() {
  Restore("HOME", home_);
  Restore("XDG_DATA_HOME", dataHome_);
}

std::filesystem::path TrashFolder::Trashed(const std::string& name) const {
  return folder_ / "home" / ".local" / "share" / "Trash" / "files" / name;
}

}  // namespace kinetta::test

// Helpers shared by the tests: pictures whose colours say where each pixel came from, rendering
// a whole run into memory, and pixel assertions that name the pixel.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/settings.h"
#include "render/run.h"
#include "render/surface.h"

namespace kinetta::test {

/// A w x h picture whose pixel (x, y) has red = x mod 256, green = y mod 256 and blue holding
/// the high bits of both (x, y < 4096), so every colour names its own position.
render::Surface CoordinatePicture(int w, int h);

/// The colour CoordinatePicture gives pixel (x, y).
render::Colour CoordinateColour(int x, int y);

/// The (x, y) a CoordinatePicture colour names.
std::pair<int, int> DecodeCoordinate(render::Colour c);

/// A picture filled with one colour.
render::Surface SolidPicture(int w, int h, render::Colour c);

/// Renders every frame of a run into memory (threads 1 unless given).
std::vector<render::Surface> RenderAll(const render::Surface& source, const base::Settings& s,
                                       std::uint64_t seed = 1, int threads = 1,
                                       render::RunResult* result = nullptr);

/// Passes when pixel (x, y) of `frame` is `expected`; otherwise names the pixel and both colours
/// as (red, green, blue).
testing::AssertionResult PixelIs(const render::Surface& frame, int x, int y,
                                 render::Colour expected);

/// A fresh empty folder under the test temporary directory, removed on destruction.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

/// The desktop's trash (and the home folder it belongs to) in a temporary folder for as long as
/// this lives, so that a test neither fills the user's trash nor depends on one. Without
/// `available`, there is no place a trash could be made, as on a system without one.
class TrashFolder {
 public:
  explicit TrashFolder(bool available = true);
  ~TrashFolder();
  TrashFolder(const TrashFolder&) = delete;
  TrashFolder& operator=(const TrashFolder&) = delete;
  /// Where the trash keeps a file of this name.
  std::filesystem::path Trashed(const std::string& name) const;

 private:
  TempFolder folder_;
  std::optional<std::string> home_;
  std::optional<std::string> dataHome_;
};

}  // namespace kinetta::test

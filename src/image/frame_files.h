// The saved frame files of a picture as a reader for the animation writer: frame k is the file
// the run saved as number k, loaded the way the preview loads it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/outcome.h"
#include "base/settings.h"
#include "image/frame_reader.h"
#include "render/surface.h"

namespace kinetta::image {

/// Reads frame k of `sourcePath`'s BMP frames; a file that is missing or cannot be loaded ends
/// the frames there.
FrameReader FrameFileReader(std::string sourcePath);

/// The same for the frames a run of `s` saved: PNG frames (base::PngFrames) with their
/// transparency as the motions carry it (render/transparency.h), BMP frames opaque.
FrameReader FrameFileReader(std::string sourcePath, const base::Settings& s);

/// One frame file, BMP or PNG by its name, as FrameFileReader gives it.
base::Result<render::Surface> LoadFrameFile(const std::string& path);

/// The frames a run left beside `sourcePath` (or under its frame base name): how many files
/// there are from number 00 on without a gap, each named with `extension`, and the size that
/// frame 00's header declares. A later, longer run's leftovers after a gap are not counted.
struct FramesOnDisk {
  int count = 0;
  int width = 0;  ///< 0 x 0 when frame 00 declares no size that can be read
  int height = 0;
};
FramesOnDisk FindFramesOnDisk(std::string_view sourcePath, std::string_view extension = ".bmp");

/// The width and height that a BMP or PNG file's header declares, whatever its name's
/// extension; nothing for a file that is neither, or that cannot be read.
struct DeclaredSize {
  int width = 0;
  int height = 0;
};
std::optional<DeclaredSize> ReadDeclaredSize(const std::filesystem::path& file);

}  // namespace kinetta::image

// The saved frame files of a picture as a reader for the animation writer: frame k is the file
// the run saved as number k, loaded the way the preview loads it.
#pragma once

#include <string>

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

}  // namespace kinetta::image

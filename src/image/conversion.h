// The conversion run with its frame files: every frame drawn by the engine is saved beside the
// source picture under the frame naming rule, and the stale frame after the last is removed.
#pragma once

#include <functional>
#include <string>

#include "base/settings.h"
#include "render/run.h"
#include "render/surface.h"

namespace kinetta::image {

/// What became of the file after a run's last frame.
enum class StaleFrame {
  None,     ///< there was none (or a folder of that name, which is left alone)
  Trashed,  ///< moved to the desktop's trash, where the user can get it back
  Removed,  ///< no trash: deleted, being a 24-bit BMP as the frames of an earlier run are
  Kept,     ///< no trash, and no 24-bit BMP (a picture that only has a frame's name): left
};

/// Puts away the stale frame file at `path`, which a longer earlier run may have left: into the
/// desktop's trash; where there is none, it is deleted only when it is a frame file (a 24-bit
/// BMP), and any other file is left where it is. A deletion that fails is ignored.
StaleFrame PutAwayStaleFrame(const std::string& path);

/// Draws the run's frames and saves frame k as FrameFileName(sourcePath, k) (encoded in
/// pieces as it is written, replaced in one step); after the last frame the file of the next
/// number, if there is one, is put away by PutAwayStaleFrame (only that one; a file left in place
/// is the result's notice). `onSaved` follows each saved frame.
render::RunResult RunConversion(const render::Surface& source, const std::string& sourcePath,
                                const base::Settings& s, const render::RenderOptions& options,
                                const std::function<void(int k, const render::Surface& frame,
                                                         const std::string& path)>& onSaved = {});

/// The same for a caller that does not look at the frames: each frame's file is written a strip
/// of rows at a time as the frame is drawn, so that no frame is ever held whole (a few rows per
/// drawing thread instead of two frames). `onSaved` follows each saved frame.
render::RunResult RunConversionInStrips(
    const render::Surface& source, const std::string& sourcePath, const base::Settings& s,
    const render::RenderOptions& options,
    const std::function<void(int k, const std::string& path)>& onSaved = {});

}  // namespace kinetta::image

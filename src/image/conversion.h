// The conversion run with its frame files: every frame drawn by the engine is saved beside the
// source picture under the frame naming rule, and the stale frame after the last is removed.
#pragma once

#include <functional>
#include <string>

#include "base/settings.h"
#include "render/run.h"
#include "render/surface.h"

namespace kinetta::image {

/// Draws the run's frames and saves frame k as FrameFileName(sourcePath, k) (encoded on the
/// drawing thread, replaced in one step); after the last frame the file of the next number is
/// deleted if it exists (only that one). `onSaved` follows each saved frame.
render::RunResult RunConversion(
    const render::Surface& source, const std::string& sourcePath, const base::Settings& s,
    const render::RenderOptions& options,
    const std::function<void(int k, const render::Surface& frame, const std::string& path)>&
        onSaved = {});

}  // namespace kinetta::image

// How the frames of a run are read back, one at a time, by whatever plays or packs them.
#pragma once

#include <functional>

#include "render/surface.h"

namespace kinetta::image {

/// Loads frame `k` (0, 1, ...) into `out`; false when that frame file cannot be loaded, which
/// ends the animation there, as the preview does. It is called for one frame at a time, but
/// not always on the caller's thread: the next frame is read while the current one is encoded.
using FrameReader = std::function<bool(int k, render::Surface& out)>;

}  // namespace kinetta::image

// How the frames of a run are read back, one at a time, by whatever plays or packs them.
#pragma once

#include <functional>

#include "base/outcome.h"
#include "render/surface.h"

namespace kinetta::image {

/// Loads frame `k` (0, 1, ...); a frame that cannot be loaded ends the animation there, as the
/// preview does. It is called for one frame at a time, but not always on the caller's thread:
/// the next frame is read while the current one is encoded.
using FrameReader = std::function<base::Result<render::Surface>(int k)>;

}  // namespace kinetta::image

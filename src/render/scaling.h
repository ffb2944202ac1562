// Frames made smaller (or larger) for files that want another size: each pixel the mean of the
// pixels it covers, weighted by how much of each it covers and by their opacity, so that a
// clear pixel's colour never bleeds into its neighbours.
#pragma once

#include "render/surface.h"

namespace kinetta::render {

/// Where a scaled picture lies in the surface it is drawn into.
struct ScaledPlace {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

/// `from` scaled to `place.width` x `place.height` and written into `to` at its place; the
/// rest of `to` is left as it was. Made smaller, each pixel is the area-weighted mean of the
/// source pixels it covers; made larger, the source pixel under its centre. The place must lie
/// inside `to` and have a positive size.
void ScaleInto(const Surface& from, Surface& to, const ScaledPlace& place);

/// `from` scaled to `width` x `height` (both positive).
Surface Scaled(const Surface& from, int width, int height);

/// The size of a picture of `width` x `height` whose longer side is at most `maxSide`, its
/// proportions kept (each side at least 1); the picture's own size when it is within.
struct ScaledSize {
  int width = 0;
  int height = 0;
};
ScaledSize FitLongerSide(int width, int height, int maxSide);

}  // namespace kinetta::render

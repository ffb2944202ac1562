// A picture stood upright as its EXIF orientation tag says: mirrored, turned by a half or a
// quarter turn, or flipped about a diagonal.
#pragma once

#include "base/outcome.h"
#include "image/picture_decoders.h"
#include "render/surface.h"

namespace kinetta::image {

/// Turns `picture`, stored as the orientation tag `orientation` says (1 to 8), upright: 2 mirror
/// left to right, 3 half turn, 4 mirror top to bottom, 5 flip about the falling diagonal, 6
/// quarter turn clockwise, 7 flip about the rising diagonal, 8 quarter turn anticlockwise; 1
/// and any other value leave it as it is. 5 to 8 swap width and height and need a second
/// surface, whose size is checked against `limits` before it is taken (the picture stays as it
/// is when it does not fit, and the reason is given); the others work in place. Every bit of a
/// pixel moves with it.
base::Status TurnUpright(render::Surface& picture, int orientation, const DecodeLimits& limits);

}  // namespace kinetta::image

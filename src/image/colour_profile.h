// A picture's colours as its file's embedded ICC profile means them, turned into sRGB, the
// colours every later step and every frame file take for granted.
#pragma once

#include <cstddef>

#include "image/picture_decoders.h"
#include "render/surface.h"

namespace kinetta::image {

/// The largest profile applied: what a JPEG's 255 profile segments hold. Little CMS takes memory
/// by the profile's size, and a compressed one could otherwise claim far more than its file.
inline constexpr std::size_t kMaxProfileBytes = 255 * 65519;

/// Converts the colours of `picture` from the ICC profile `profile` into sRGB (relative
/// colorimetric intent), in place; the top byte of each pixel (a picture's opacity) stays as
/// it is. An RGB profile is applied to every pixel; a grey one to a picture whose pixels are all
/// grey (red, green and blue equal), from their red. Returns false, leaving `picture` as it is,
/// when `profile` is empty (the picture is sRGB already), larger than kMaxProfileBytes, cannot be
/// read, or describes other colours (CMYK, Lab, ... or a grey profile beside coloured pixels).
bool ConvertToSrgb(render::Surface& picture, PictureBytes profile);

}  // namespace kinetta::image

// A first look at a large picture: the picture decoded smaller than it is, where its format can
// do that much faster than decoding it whole (a JPEG at 1/2, 1/4 or 1/8 of its size), so that
// the window shows it while the whole picture is still being read. Each format that can has a
// hook of its own.
#pragma once

#include <optional>
#include <string>

#include "image/picture_decoders.h"
#include "render/surface.h"

namespace kinetta::image {

/// The most a picture is shown at, in pixels; it is shown within it with its aspect kept.
struct Bound {
  int width = 0;
  int height = 0;
};

/// A picture reduced for a first look, and the size of the whole picture.
struct QuickLook {
  render::Surface picture;  ///< at least as large as the whole picture is shown within the bound
  int width = 0;
  int height = 0;
};

/// A format's first look at `file`: the picture reduced, no smaller than the whole picture is
/// shown within `bound`. Nothing when the format gains nothing by it (the picture is shown at
/// more than half its size) or the file is refused (the whole reading says why).
using QuickLookHook = std::optional<QuickLook> (*)(PictureBytes file, const DecodeLimits& limits,
                                                   const Bound& bound);

/// JPEG's hook: the picture decoded at 1/2, 1/4 or 1/8 of its size by the library's scaling,
/// under the same rules as DecodeJpeg, and only when the whole picture fits the limits too.
std::optional<QuickLook> JpegQuickLook(PictureBytes file, const DecodeLimits& limits,
                                       const Bound& bound);

/// The first look at the picture at `path` to be shown within `bound`, through the hook of its
/// format, told by the file's signature as LoadPicture tells it; nothing for a format without a
/// hook, for a picture that gains nothing by one, and for any fault, which the whole reading
/// reports.
std::optional<QuickLook> ReadQuickLook(const std::string& path, const Bound& bound);

}  // namespace kinetta::image

// Picture files into surfaces (BMP, JPEG, GIF and whatever else QImage reads), with the checks
// that keep a broken or hostile file from crashing the program or exhausting memory.
#pragma once

#include <string>
#include <string_view>

#include "base/outcome.h"
#include "render/surface.h"

class QImage;

namespace kinetta::image {



/// The largest picture accepted, in pixels (both sides together); larger headers are refused
/// before any pixel memory is taken.
inline constexpr long long kMaxPicturePixels = 16384LL * 16384LL;

/// Reads the picture at `path`. On failure the message is base::CannotOpenMessage(path).
base::Result<render::Surface> LoadPicture(const std::string& path);

/// Conversions between surfaces and QImage (RGB32).
render::Surface SurfaceFromImage(const QImage& image);
QImage ImageFromSurface(const render::Surface& surface);

}  // namespace kinetta::image

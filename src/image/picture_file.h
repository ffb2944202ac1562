// Picture files into pictures: BMP, JPEG, PNG, WebP, HEIC, AVIF and GIF, recognised by their
// content, read by strict decoders that refuse a broken file rather than make up pixels, and
// bounded in memory: a picture's size is checked from its header before any pixel memory is
// taken.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>

#include "base/outcome.h"
#include "image/picture.h"
#include "render/surface.h"

class QImage;

namespace kinetta::image {

/// The largest picture accepted, in pixels (both sides together); larger headers are refused
/// before any pixel memory is taken, as is a picture that would not fit in the memory at hand.
inline constexpr long long kMaxPicturePixels = 16384LL * 16384LL;

/// The largest picture file read: room for the largest picture stored uncompressed at 32 bits
/// a pixel, and 64 MiB for headers and whatever a file carries beside its pixels.
inline constexpr std::size_t kMaxPictureFileBytes =
    static_cast<std::size_t>(kMaxPicturePixels) * 4 + (std::size_t{64} << 20);

/// Reads the picture at `path` (the path's own bytes, in whatever encoding the file system
/// has them). Only a regular file is read: a folder, FIFO or device is refused without
/// waiting. A failure keeps the cause of the reason (missing, broken data, too large, ...); its
/// message is base::CannotOpenMessage(path) with that reason on a second line, in brackets. A
/// file of none of the formats names them, GIF only when `gifAllowed`. Setting `stop` stops the
/// reading of a JPEG within a row of blocks (Cause::Aborted).
base::Result<Picture> LoadPicture(const std::string& path, bool gifAllowed = true,
                                  const std::atomic<bool>* stop = nullptr);

/// Conversions between surfaces and QImage. A surface becomes an RGB32 image when it is opaque,
/// and an ARGB32 one (straight alpha) when any pixel's top byte says it is partly or fully
/// transparent (render/transparency.h); an image becomes an opaque surface.
render::Surface SurfaceFromImage(const QImage& image);
QImage ImageFromSurface(const render::Surface& surface);

/// A decoded picture as a QImage: ARGB32 with its own opacity when it has any, RGB32 otherwise.
QImage ImageFromPicture(const Picture& picture);

}  // namespace kinetta::image

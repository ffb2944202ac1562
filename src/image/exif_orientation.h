// How a camera held the picture: the orientation tag of the EXIF block stored beside the pixels,
// which says how the stored rows must turn to stand upright.
#pragma once

#include <cstddef>

#include "image/picture_decoders.h"

namespace kinetta::image {

/// The most of an EXIF block that is read: about what a JPEG marker segment holds. The other
/// formats carry blocks copied from cameras that write JPEG, with the tag near the start.
inline constexpr std::size_t kMaxExifBytes = std::size_t{64} << 10;

/// The orientation tag (1 to 8) of the first image directory of `exif`, a TIFF-structured block
/// from its byte-order mark ("II*\0" or "MM\0*") on, of which the first kMaxExifBytes are read.
/// 1, upright as stored, when the block is empty or broken, has no such tag, or gives it a value
/// outside 1 to 8.
int ExifOrientation(PictureBytes exif);

}  // namespace kinetta::image

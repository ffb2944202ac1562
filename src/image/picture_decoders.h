// The strict picture decoders behind LoadPicture, one per format, and the size check each of
// them makes from the header before it takes any pixel memory. A decoder accepts a picture only
// when every pixel came from the file: a short, corrupt or inconsistent file is refused.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/outcome.h"
#include "base/regular_file.h"
#include "image/picture.h"
#include "render/surface.h"

namespace kinetta::image {

/// The largest side accepted, in pixels. JPEG, GIF and WebP cannot declare more; a BMP, PNG or
/// HEIF file that does is refused from its header.
inline constexpr long long kMaxPictureSide = 65535;

using PictureBytes = std::span<const std::uint8_t>;

/// What decoding may take: the pixel cap and the memory at hand, in bytes; and, where set, the
/// flag that says the picture is no longer wanted (the JPEG decoder then stops within a row of
/// blocks, with Cause::Aborted).
struct DecodeLimits {
  long long maxPixels = 0;
  std::uint64_t memoryBytes = 0;
  const std::atomic<bool>* stop = nullptr;
};

/// Checks a size read from a header: both sides from 1 to kMaxPictureSide (Cause::BrokenData
/// for a side of 0), at most `limits.maxPixels` pixels, and the decoded picture (4 bytes a
/// pixel) plus `workBytes` of the decoder's own memory within `limits.memoryBytes`
/// (Cause::TooLarge); fails with the reason otherwise.
base::Status SizeFits(long long width, long long height, std::uint64_t workBytes,
                      const DecodeLimits& limits);

/// The decoders: the whole picture, or the reason it was refused, a short Japanese phrase for
/// the line under "<path>が開けません。".
base::Result<Picture> DecodeBmp(PictureBytes file, const DecodeLimits& limits);
base::Result<Picture> DecodeJpeg(PictureBytes file, const DecodeLimits& limits);
base::Result<Picture> DecodeGif(PictureBytes file, const DecodeLimits& limits);
base::Result<Picture> DecodePng(PictureBytes file, const DecodeLimits& limits);
base::Result<Picture> DecodeWebp(PictureBytes file, const DecodeLimits& limits);
/// HEIC and AVIF.
base::Result<Picture> DecodeHeif(PictureBytes file, const DecodeLimits& limits);

/// True for a file that opens with an ISO media file type box naming a HEIF brand: a HEIC or
/// AVIF picture (heic, heix, heim, heis, hevc, hevx, mif1, msf1, avif, avis).
bool IsHeifFile(PictureBytes file);

/// Chooses the decoder by the file's first bytes (its signature), never by its name. A file of
/// none of the formats is refused with UnknownFormatReason(true).
base::Result<Picture> DecodePicture(PictureBytes file, const DecodeLimits& limits);

/// The step after decoding: the picture's colours from its ICC profile into sRGB
/// (ConvertToSrgb), then the picture turned upright by its EXIF orientation (TurnUpright, the
/// turned copy checked against `limits` and the memory at hand by then); both blocks are then
/// cleared. Fails with the reason when the turned copy does not fit.
base::Status ApplyMetadata(Picture& picture, const DecodeLimits& limits);

/// The bytes of pixel data a thread reads at once from a BMP file read in bands.
inline constexpr std::size_t kBandBytes = std::size_t{1} << 20;

/// The picture in `file`, decoded as DecodePicture decodes the whole file and made upright sRGB
/// by ApplyMetadata, with the pixel cap and the memory at hand as limits, and `stop` as the flag
/// that stops it. A BMP file whose pixels are stored plain is not held whole: its headers are
/// read from the start of the file and its rows straight from the file in bands of about
/// `bandBytes`, on all cores. Every other file is read whole. A file of none of the formats is
/// refused with UnknownFormatReason(gifAllowed).
base::Result<Picture> ReadPicture(const base::RegularFile& file, std::size_t bandBytes = kBandBytes,
                                  bool gifAllowed = true, const std::atomic<bool>* stop = nullptr);

/// The refusals the decoders make, naming the format ("JPEG", "GIF", "BMP", "PNG", ...): data that
/// ends before the picture does and data that breaks the format's rules (Cause::BrokenData), and a
/// variant of the format that is not read (Cause::Unsupported), with image_messages.h's reasons.
base::Status DataCutShort(std::string_view format);
base::Status DataBroken(std::string_view format);
base::Status VariantUnsupported(std::string_view format);

/// A packed colour from its parts.
constexpr std::uint32_t PackRgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return r | (g << 8) | (b << 16);
}

}  // namespace kinetta::image

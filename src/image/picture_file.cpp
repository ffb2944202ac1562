// Picture loading: a regular file of bounded size, opened by its own bytes, its format told by
// its signature from its first bytes (whatever its name says), the file then read whole or (plain
// BMP pixels) in bands, the picture made upright sRGB by what its file says beside the pixels,
// and the reasons a decoder gives turned into the cannot-open message.
#include "image/picture_file.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "base/memory_budget.h"
#include "base/messages.h"
#include "base/regular_file.h"
#include "base/text_lookup.h"
#include "image/bmp_layout.h"
#include "image/colour_profile.h"
#include "image/exif_orientation.h"
#include "image/image_messages.h"
#include "image/picture_decoders.h"
#include "image/upright.h"

namespace kinetta::image {

namespace {

// The start of a file, read first: its signature and a BMP's headers (at most
// bmp::kMostHeaderBytes), and all of a small file.
constexpr std::size_t kStartBytes = std::size_t{64} << 10;
static_assert(kStartBytes >= bmp::kMostHeaderBytes);

bool StartsWith(PictureBytes file, std::string_view signature) {
  return file.size() >= signature.size() &&
         std::memcmp(file.data(), signature.data(), signature.size()) == 0;
}

using Decoder = base::Result<Picture> (*)(PictureBytes, const DecodeLimits&);

// The decoder for a file by its signature; null for a file of none of the formats.
Decoder DecoderFor(PictureBytes start) {
  if (StartsWith(start, "BM")) return DecodeBmp;
  if (StartsWith(start, "\xFF\xD8\xFF")) return DecodeJpeg;
  if (StartsWith(start, "GIF87a") || StartsWith(start, "GIF89a")) return DecodeGif;
  if (StartsWith(start, "\x89PNG\r\n\x1A\n")) return DecodePng;
  if (StartsWith(start, "RIFF") &&
      StartsWith(start.subspan(std::min<std::size_t>(8, start.size())), "WEBP")) {
    return DecodeWebp;
  }
  if (IsHeifFile(start)) return DecodeHeif;
  return nullptr;
}

base::Status UnknownFormat(bool gifAllowed) {
  return base::Status::Failed(base::Cause::Unsupported, UnknownFormatReason(gifAllowed));
}

}  // namespace

base::Status DataCutShort(std::string_view format) {
  return base::Status::Failed(base::Cause::BrokenData, CutShortReason(format));
}

base::Status DataBroken(std::string_view format) {
  return base::Status::Failed(base::Cause::BrokenData, BrokenReason(format));
}

base::Status VariantUnsupported(std::string_view format) {
  return base::Status::Failed(base::Cause::Unsupported, UnsupportedReason(format));
}

base::Status SizeFits(long long width, long long height, std::uint64_t workBytes,
                      const DecodeLimits& limits) {
  if (width < 1 || height < 1)
    return base::Status::Failed(base::Cause::BrokenData, base::Text(kNoPixelReason));
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > limits.maxPixels) {
    return base::Status::Failed(base::Cause::TooLarge, PictureTooLargeReason(width, height));
  }
  const std::uint64_t needed = static_cast<std::uint64_t>(width * height) * 4 + workBytes;
  if (needed > limits.memoryBytes) {
    return base::Status::Failed(base::Cause::TooLarge,
                                PictureMemoryReason(needed, limits.memoryBytes));
  }
  return base::Status::Ok();
}

base::Result<Picture> DecodePicture(PictureBytes file, const DecodeLimits& limits) {
  const Decoder decoder = DecoderFor(file);
  return decoder ? decoder(file, limits) : UnknownFormat(true);
}

namespace {

// The memory at hand as it is when a step takes its pixel memory: after a file read whole has
// been read, after the picture has been decoded; `stop` stops a decoder that can be stopped.
DecodeLimits LimitsNow(const std::atomic<bool>* stop) {
  return {kMaxPicturePixels, base::AvailableMemoryBytes(), stop};
}

base::Result<Picture> DecodeFile(const base::RegularFile& file, std::size_t bandBytes,
                                 bool gifAllowed, const std::atomic<bool>* stop) {
  std::vector<std::uint8_t> start(std::min(file.size(), kStartBytes));
  const base::Result<std::size_t> read = file.ReadAt(0, start);
  if (!read.ok()) return read.status();
  start.resize(read.value());
  if (!DecoderFor(start)) return UnknownFormat(gifAllowed);
  if (StartsWith(start, "BM")) {
    // The refusals of the headers are those of DecodeBmp: the layout is read from the same
    // bytes, and the pixel data placed from the file's size.
    const base::Result<bmp::Layout> layout = bmp::ReadLayout(start, file.size(), LimitsNow(stop));
    if (!layout.ok()) return layout.status();
    if (layout.value().coding == bmp::Coding::Plain) {
      return bmp::DecodePlainFile(layout.value(), file, bandBytes);
    }
  }
  const base::Result<std::vector<std::uint8_t>> bytes = file.ReadToEnd(std::move(start));
  if (!bytes.ok()) return bytes.status();
  return DecodePicture(bytes.value(), LimitsNow(stop));
}

}  // namespace

base::Status ApplyMetadata(Picture& picture, const DecodeLimits& limits) {
  ConvertToSrgb(picture.pixels, picture.iccProfile);
  // The conversion's threads may have taken address space since `limits` was read.
  const DecodeLimits now{limits.maxPixels,
                         std::min(limits.memoryBytes, base::AvailableMemoryBytes())};
  const base::Status turned = TurnUpright(picture.pixels, ExifOrientation(picture.exif), now);
  picture.iccProfile = {};
  picture.exif = {};
  return turned;
}

base::Result<Picture> ReadPicture(const base::RegularFile& file, std::size_t bandBytes,
                                  bool gifAllowed, const std::atomic<bool>* stop) {
  // The file's bytes are let go before the picture may need a turned copy.
  base::Result<Picture> decoded = DecodeFile(file, bandBytes, gifAllowed, stop);
  if (!decoded.ok()) return decoded;
  if (base::Status applied = ApplyMetadata(decoded.value(), LimitsNow(stop)); !applied.ok()) {
    return applied;
  }
  return decoded;
}

base::Result<Picture> LoadPicture(const std::string& path, bool gifAllowed,
                                  const std::atomic<bool>* stop) {
  base::Status why;
  try {
    const base::Result<base::RegularFile> file =
        base::RegularFile::Open(path, kMaxPictureFileBytes);
    if (!file.ok()) {
      why = file.status();
    } else {
      base::Result<Picture> decoded = ReadPicture(file.value(), kBandBytes, gifAllowed, stop);
      if (decoded.ok()) return decoded;
      why = decoded.status();
    }
  } catch (const std::bad_alloc&) {
    why = base::ErrorStatus(std::current_exception());
  }
  return base::Status::Failed(why.cause(), why.message().empty()
                                               ? base::CannotOpenMessage(path)
                                               : base::CannotOpenMessage(path, why.message()));
}

}  // namespace kinetta::image

// Fuzz target: any bytes through the picture decoders (BMP, JPEG, GIF, PNG, WebP, HEIC and AVIF)
// and the step after them (colour profile, orientation), and the JPEG first look. A refusal is
// fine; a crash, a leak, a sanitizer report, a picture larger than the limits allow, or a decoded
// pixel that no decoder wrote is a finding. AddressSanitizer fills new memory with 0xBE bytes
// (options below), so an unwritten pixel of an opaque picture has bits above the 24 colour bits,
// which a written one never has; a picture said to have transparency has a pixel short of opaque.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "image/picture_decoders.h"
#include "image/picture_file.h"
#include "image/quick_look.h"

extern "C" const char* __asan_default_options() {
  return "malloc_fill_byte=190:max_malloc_fill_size=268435456";
}

// libheif's AV1 decoder keeps 40 bytes of an empty coded image for good (libheif 1.15 frees
// the data it hands dav1d only when it is not empty): the library's loss, not the decoders'.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdav1d.so\n"; }

namespace {

// Within the memory limit, and every pixel written.
bool Sound(const kinetta::render::Surface& picture, std::uint64_t memoryBytes) {
  if (picture.empty() || std::uint64_t{4} * static_cast<std::uint64_t>(picture.width()) *
                                 static_cast<std::uint64_t>(picture.height()) >
                             memoryBytes) {
    return false;
  }
  for (int y = 0; y < picture.height(); ++y) {
    const std::uint32_t* row = picture.Row(y);
    for (int x = 0; x < picture.width(); ++x) {
      if (row[x] > 0xFFFFFFu) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kinetta;
  // The pixel cap as in the program; 16 MiB of memory, so that a valid but huge picture (a tiny
  // image on a vast GIF screen, a run-length BMP that ends at once) is refused rather than
  // decoded slowly under the sanitizers, and the fuzzer's 1 GiB limit holds.
  const image::DecodeLimits limits{image::kMaxPicturePixels, std::uint64_t{16} << 20};
  // A JPEG's first look, as reduced as the library goes, under the same rules.
  if (const std::optional<image::QuickLook> look =
          image::JpegQuickLook({data, size}, limits, {1, 1})) {
    if (!Sound(look->picture, limits.memoryBytes)) std::abort();
  }
  base::Result<image::Picture> decoded = image::DecodePicture({data, size}, limits);
  if (!decoded.ok()) {
    if (decoded.message().empty()) std::abort();  // every refusal says why
    return 0;
  }
  const render::Surface& picture = decoded.value().pixels;
  const bool alpha = decoded.value().hasAlpha;
  if (picture.empty() || std::uint64_t{4} * static_cast<std::uint64_t>(picture.width()) *
                                 static_cast<std::uint64_t>(picture.height()) >
                             limits.memoryBytes) {
    std::abort();
  }
  bool seeThrough = false;
  for (int y = 0; y < picture.height(); ++y) {
    const std::uint32_t* row = picture.Row(y);
    for (int x = 0; x < picture.width(); ++x) {
      if (!alpha && row[x] > 0xFFFFFFu) std::abort();
      seeThrough = seeThrough || row[x] < 0xFF000000u;
    }
  }
  if (alpha && !seeThrough) std::abort();
  // The step after decoding, on whatever profile and EXIF block the file carried.
  static_cast<void>(image::ApplyMetadata(decoded.value(), limits));
  return 0;
}

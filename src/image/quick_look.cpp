// The quick-look hooks by format, and the file read for them as LoadPicture reads it.
#include "image/quick_look.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <string_view>
#include <vector>

#include "base/memory_budget.h"
#include "base/regular_file.h"
#include "image/picture_file.h"

namespace kinetta::image {

namespace {

struct QuickLookFormat {
  std::string_view signature;  // the file's first bytes
  QuickLookHook hook;
};

// A format with a faster way to a reduced picture joins here.
constexpr QuickLookFormat kQuickLookFormats[] = {
    {"\xFF\xD8\xFF", &JpegQuickLook},
};

// Enough of the start of a file for every signature above.
constexpr std::size_t kSignatureBytes = 16;

}  // namespace

std::optional<QuickLook> ReadQuickLook(const std::string& path, const Bound& bound) {
  try {
    const base::Result<base::RegularFile> file =
        base::RegularFile::Open(path, kMaxPictureFileBytes);
    if (!file.ok()) return std::nullopt;
    std::vector<std::uint8_t> start(std::min(file.value().size(), kSignatureBytes));
    const base::Result<std::size_t> read = file.value().ReadAt(0, start);
    if (!read.ok()) return std::nullopt;
    start.resize(read.value());
    const auto format = std::find_if(
        std::begin(kQuickLookFormats), std::end(kQuickLookFormats), [&](const auto& f) {
          return start.size() >= f.signature.size() &&
                 std::memcmp(start.data(), f.signature.data(), f.signature.size()) == 0;
        });
    if (format == std::end(kQuickLookFormats)) return std::nullopt;
    const base::Result<std::vector<std::uint8_t>> bytes = file.value().ReadToEnd(std::move(start));
    if (!bytes.ok()) return std::nullopt;
    return format->hook(bytes.value(), {kMaxPicturePixels, base::AvailableMemoryBytes()}, bound);
  } catch (const std::exception&) {
    return std::nullopt;  // memory ran out: the whole reading says so
  }
}

}  // namespace kinetta::image

// Picture loading: the file read whole (a regular file of bounded size, opened by its own
// bytes), its format told by its signature, and the reasons a decoder gives turned into the
// cannot-open message.
#include "image/picture_file.h"

#include <cstring>
#include <new>
#include <vector>

#include "base/memory_budget.h"
#include "base/messages.h"
#include "base/regular_file.h"
#include "image/picture_decoders.h"

namespace kinetta::image {

namespace {

bool StartsWith(PictureBytes file, std::string_view signature) {
  return file.size() >= signature.size() &&
         std::memcmp(file.data(), signature.data(), signature.size()) == 0;
}

}  // namespace

std::string CutShortReason(std::string_view format) {
  return std::string(format) + " データが途中で切れています";
}

std::string BrokenReason(std::string_view format) {
  return std::string(format) + " データが壊れています";
}

std::string UnsupportedReason(std::string_view format) {
  return "この種類の " + std::string(format) + " には対応していません";
}

base::Status SizeFits(long long width, long long height, std::uint64_t workBytes,
                      const DecodeLimits& limits) {
  if (width < 1 || height < 1) return base::Status::Failed("画像の大きさが 0 です");
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > limits.maxPixels) {
    return base::Status::Failed("画像が大きすぎます。" + std::to_string(width) + " x " +
                                std::to_string(height) + " ピクセル");
  }
  const std::uint64_t needed = static_cast<std::uint64_t>(width * height) * 4 + workBytes;
  if (needed > limits.memoryBytes) {
    return base::Status::Failed(
        "メモリが足りません。約 " + std::to_string(base::MebibytesUp(needed)) +
        " MiB 要りますが、使えるのは約 " + std::to_string(limits.memoryBytes >> 20) + " MiB です");
  }
  return base::Status::Ok();
}

base::Result<render::Surface> DecodePicture(PictureBytes file, const DecodeLimits& limits) {
  if (StartsWith(file, "BM")) return DecodeBmp(file, limits);
  if (StartsWith(file, "\xFF\xD8\xFF")) return DecodeJpeg(file, limits);
  if (StartsWith(file, "GIF87a") || StartsWith(file, "GIF89a")) return DecodeGif(file, limits);
  return Refused("BMP、JPEG、GIF のいずれでもありません");
}

base::Result<render::Surface> LoadPicture(const std::string& path) {
  std::string why;
  try {
    const base::Result<std::vector<std::uint8_t>> bytes =
        base::ReadRegularFile(path, kMaxPictureFileBytes);
    if (!bytes.ok()) {
      why = bytes.message();
    } else {
      base::Result<render::Surface> decoded =
          DecodePicture(bytes.value(), {kMaxPicturePixels, base::AvailableMemoryBytes()});
      if (decoded.ok()) return decoded;
      why = decoded.message();
    }
  } catch (const std::bad_alloc&) {
    why = "メモリが足りません";
  }
  std::string message = base::CannotOpenMessage(path);
  if (!why.empty()) message += "\n（" + why + "）";
  return base::Result<render::Surface>::Failed(std::move(message));
}

}  // namespace kinetta::image

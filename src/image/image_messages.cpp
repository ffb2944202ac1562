// The reasons that carry a format's name or a size.
#include "image/image_messages.h"

#include "base/memory_budget.h"
#include "base/messages.h"

namespace kinetta::image {

std::string CutShortReason(std::string_view format) {
  return std::string(format) + " データが途中で切れています";
}

std::string BrokenReason(std::string_view format) {
  return std::string(format) + " データが壊れています";
}

std::string UnsupportedReason(std::string_view format) {
  return "この種類の " + std::string(format) + " には対応していません";
}

std::string_view UnknownFormatReason(bool gifAllowed) {
  return gifAllowed ? "BMP、JPEG、PNG、WebP、HEIC、AVIF、GIF のいずれでもありません"
                    : "BMP、JPEG、PNG、WebP、HEIC、AVIF のいずれでもありません";
}

std::string PictureTooLargeReason(long long width, long long height) {
  return "画像が大きすぎます。" + std::to_string(width) + " x " + std::to_string(height) +
         " ピクセル";
}

std::string PictureMemoryReason(std::uint64_t neededBytes, std::uint64_t availableBytes) {
  return std::string(base::kOutOfMemoryMessage) + "約 " +
         std::to_string(base::MebibytesUp(neededBytes)) + " MiB 要りますが、使えるのは約 " +
         std::to_string(availableBytes >> 20) + " MiB です";
}

}  // namespace kinetta::image

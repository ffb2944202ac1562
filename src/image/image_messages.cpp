// The reasons that carry a format's name or a size.
#include "image/image_messages.h"

#include "base/memory_budget.h"
#include "base/messages.h"
#include "base/text_lookup.h"

namespace kinetta::image {

using base::Fill;
using base::Text;

std::string CutShortReason(std::string_view format) {
  return Fill(Text("%1 データが途中で切れています"), {format});
}

std::string BrokenReason(std::string_view format) {
  return Fill(Text("%1 データが壊れています"), {format});
}

std::string UnsupportedReason(std::string_view format) {
  return Fill(Text("この種類の %1 には対応していません"), {format});
}

std::string UnknownFormatReason(bool gifAllowed) {
  return gifAllowed ? Text("BMP、JPEG、PNG、WebP、HEIC、AVIF、GIF のいずれでもありません")
                    : Text("BMP、JPEG、PNG、WebP、HEIC、AVIF のいずれでもありません");
}

std::string PictureTooLargeReason(long long width, long long height) {
  return Fill(Text("画像が大きすぎます。%1 x %2 ピクセル"),
              {std::to_string(width), std::to_string(height)});
}

std::string PictureMemoryReason(std::uint64_t neededBytes, std::uint64_t availableBytes) {
  return base::Fill(
      base::Text("メモリが足りません。約 %1 MiB 要りますが、使えるのは約 %2 MiB です"),
      {std::to_string(base::MebibytesUp(neededBytes)), std::to_string(availableBytes >> 20)});
}

}  // namespace kinetta::image

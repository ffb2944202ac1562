// What picture loading tells the user, in one place: the reasons a picture is refused, each a
// few words for the brackets under "<path>が開けません。".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kinetta::image {

/// The reasons the decoders give, naming the format ("JPEG", "GIF", "BMP", "PNG", "WebP",
/// "HEIC", "AVIF"): data that ends before the picture does, data that breaks the format's rules,
/// and a variant of the format that is not read.
std::string CutShortReason(std::string_view format);
std::string BrokenReason(std::string_view format);
std::string UnsupportedReason(std::string_view format);

/// A header that gives the picture no pixel.
inline constexpr std::string_view kNoPixelReason = "画像の大きさが 0 です";

/// A file that is none of the formats read, naming them; GIF among them only where GIF pictures
/// may be opened.
std::string UnknownFormatReason(bool gifAllowed);

/// A picture past the largest size read.
std::string PictureTooLargeReason(long long width, long long height);

/// A picture that would not fit in the memory at hand.
std::string PictureMemoryReason(std::uint64_t neededBytes, std::uint64_t availableBytes);

}  // namespace kinetta::image

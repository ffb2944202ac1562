// Frame files read back as the run saved them, for the animation writer.
#include "image/frame_files.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <utility>

#include "base/path_helpers.h"
#include "image/picture.h"
#include "image/picture_file.h"

namespace kinetta::image {

base::Result<render::Surface> LoadFrameFile(const std::string& path) {
  base::Result<Picture> frame = LoadPicture(path);
  if (!frame.ok()) return frame.status();
  return WithTransparency(std::move(frame).value());
}

FrameReader FrameFileReader(std::string sourcePath) {
  return FrameFileReader(std::move(sourcePath), base::Settings{});
}

FrameReader FrameFileReader(std::string sourcePath, const base::Settings& s) {
  return [path = std::move(sourcePath), extension = std::string(base::FrameExtension(s))](
             int k) -> base::Result<render::Surface> {
    return LoadFrameFile(base::FrameFileName(path, k, extension));
  };
}

}  // namespace kinetta::image

namespace kinetta::image {

namespace {

// The most frames a run makes (the frame count is a 16-bit setting).
constexpr int kMostFrames = 32767;

std::uint32_t Little32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint32_t Big32(const unsigned char* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

std::string WithExtension(std::string name, std::string_view extension) {
  // FrameFileName ends in ".bmp"; other frame files differ only there.
  name.resize(name.size() - 4);
  return name + std::string(extension);
}

}  // namespace

std::optional<DeclaredSize> ReadDeclaredSize(const std::filesystem::path& file) {
  std::array<unsigned char, 26> head{};
  std::ifstream in(file, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(head.data()), head.size())) return std::nullopt;
  const unsigned char* h = head.data();
  static constexpr unsigned char kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (std::equal(std::begin(kPng), std::end(kPng), h)) {
    // The first chunk is IHDR: width and height, big-endian, after its length and type.
    if (h[12] != 'I' || h[13] != 'H' || h[14] != 'D' || h[15] != 'R') return std::nullopt;
    const std::uint32_t w = Big32(h + 16), ht = Big32(h + 20);
    if (w == 0 || ht == 0 || w > 0x7FFFFFFF || ht > 0x7FFFFFFF) return std::nullopt;
    return DeclaredSize{static_cast<int>(w), static_cast<int>(ht)};
  }
  if (h[0] == 'B' && h[1] == 'M') {
    const std::uint32_t infoSize = Little32(h + 14);
    long long w = 0, ht = 0;
    if (infoSize == 12) {  // the OS/2 header's 16-bit sides
      w = h[18] | (h[19] << 8);
      ht = h[20] | (h[21] << 8);
    } else if (infoSize >= 40) {
      w = static_cast<std::int32_t>(Little32(h + 18));
      ht = std::llabs(static_cast<std::int32_t>(Little32(h + 22)));  // negative: top-down
    }
    if (w <= 0 || ht <= 0 || ht > 0x7FFFFFFF) return std::nullopt;
    return DeclaredSize{static_cast<int>(w), static_cast<int>(ht)};
  }
  return std::nullopt;
}

FramesOnDisk FindFramesOnDisk(std::string_view sourcePath, std::string_view extension) {
  FramesOnDisk found;
  std::error_code error;
  while (found.count < kMostFrames &&
         std::filesystem::is_regular_file(
             WithExtension(base::FrameFileName(sourcePath, found.count), extension), error)) {
    ++found.count;
  }
  if (found.count > 0) {
    if (const std::optional<DeclaredSize> size =
            ReadDeclaredSize(WithExtension(base::FrameFileName(sourcePath, 0), extension))) {
      found.width = size->width;
      found.height = size->height;
    }
  }
  return found;
}

}  // namespace kinetta::image

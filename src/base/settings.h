// The animation settings a conversion run reads, with the defaults used when there is no
// settings file.
#pragma once

#include <cstdint>

namespace kinetta::base {

/// What the frame files are written as: Auto is PNG with transparency when the background is
/// transparent and BMP otherwise.
enum class FrameFormat { Auto, Bmp, Png };

struct Settings {
  int ShapeIndex = 0;          ///< 0..8 in shape-list order
  int WidthMode = 1;           ///< 0 source width, 1 source height, 2 WidthValue
  int WidthValue = 100;        ///< frame width in pixels for WidthMode 2
  std::int32_t BackColor = 0;  ///< red + 256 x green + 65536 x blue; the water colour for water
  int FrameCount = 1;          ///< frames per run
  int Shade3D = 1;             ///< the shape's switch: shading, water tint or dot mode
  /// What a motion paints as background is clear instead of a colour.
  bool TransparentBack = false;
  FrameFormat FrameFiles = FrameFormat::Auto;

  friend bool operator==(const Settings&, const Settings&) = default;
};

/// Whether the run's frame files are PNG: asked for, or Auto with a clear background.
constexpr bool PngFrames(const Settings& s) {
  return s.FrameFiles == FrameFormat::Png ||
         (s.FrameFiles == FrameFormat::Auto && s.TransparentBack);
}

/// The frame files' extension: ".png" or ".bmp".
constexpr const char* FrameExtension(const Settings& s) { return PngFrames(s) ? ".png" : ".bmp"; }

}  // namespace kinetta::base

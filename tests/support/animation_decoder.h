// Reads animated GIF and WebP files back the way a viewer shows them, for the tests and the
// benchmarks: giflib for GIF (frames composited by their disposal methods), libwebp's
// animation decoder for WebP.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "render/surface.h"

namespace kinetta::test {

struct DecodedAnimation {
  bool ok = false;
  std::string error;
  int width = 0;
  int height = 0;
  int loopCount = -1;       ///< 0 plays for ever; -1 when the file sets none
  std::vector<int> delays;  ///< per frame: hundredths (GIF) or milliseconds (WebP)
  /// What is on screen after each frame, its transparency in the top byte (render::kClear
  /// where nothing is shown).
  std::vector<render::Surface> frames;
  /// GIF only, per frame: 1 where the frame stores an opaque pixel, 0 where it leaves the
  /// pixel as it was (outside its rectangle or transparent).
  std::vector<std::vector<std::uint8_t>> stored;
  /// GIF only: the first frame as the loop shows it again after the last.
  render::Surface looped;
};

DecodedAnimation DecodeGif(const std::filesystem::path& file);
DecodedAnimation DecodeWebp(const std::filesystem::path& file);

/// Peak signal-to-noise ratio in dB of `shown` against `expected` over every channel of every
/// frame (both lists the same length and sizes); infinity when they are equal.
double Psnr(const std::vector<render::Surface>& shown,
            const std::vector<render::Surface>& expected);

}  // namespace kinetta::test

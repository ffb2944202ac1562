// Shading tabulated once per run: for each light level (the sphere's and cylinder's levels, the
// plane's lit and shaded bevel), what every component value becomes, so that shading a pixel is
// three table reads.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/geometry.h"

namespace kinetta::render {

struct LightLevel {
  // Each component's result already in its place in the packed colour, clamped to 0..255.
  std::uint32_t red[256], green[256], blue[256];
  // What a read past the work picture (red -1, green 0, blue 0) becomes at this level.
  std::uint32_t outside;

  std::uint32_t Apply(std::uint32_t c) const {
    return red[c & 0xFF] | green[(c >> 8) & 0xFF] | blue[(c >> 16) & 0xFF];
  }
  /// Apply for a pixel that may carry transparency: the colour changes, the transparency stays,
  /// and a clear pixel stays clear (its colour 0, never a lit colour nothing can see).
  std::uint32_t ApplyKeepingOpacity(std::uint32_t c) const {
    const std::uint32_t t = c & 0xFF000000u;
    if (t == 0xFF000000u) return c;
    return red[c & 0xFF] | green[(c >> 8) & 0xFF] | blue[(c >> 16) & 0xFF] | t;
  }
};

/// Levels 0 .. maxLevel of `shade(c, v)`, the component c at light level v.
template <typename Shade>
std::vector<LightLevel> TabulateLightLevels(int maxLevel, Shade shade) {
  std::vector<LightLevel> levels(static_cast<std::size_t>(std::max(0, maxLevel)) + 1);
  for (int v = 0; v < static_cast<int>(levels.size()); ++v) {
    LightLevel& l = levels[v];
    for (int c = 0; c < 256; ++c) {
      const auto s = static_cast<std::uint32_t>(std::clamp(shade(c, v), 0, 255));
      l.red[c] = s;
      l.green[c] = s << 8;
      l.blue[c] = s << 16;
    }
    l.outside = PackClamped(shade(-1, v), shade(0, v), shade(0, v));
  }
  return levels;
}

}  // namespace kinetta::render

// How a packed colour carries its transparency through the motions and out to the files.
//
// The top byte holds how transparent the pixel is: 255 minus its opacity. The colour bytes are
// the pixel's own colour, not scaled by its opacity. So an opaque pixel has a top byte of 0,
// exactly as every opaque surface has always had, and opaque pictures run through the motions
// untouched, with no extra memory and no extra pass. A fully transparent pixel is always written
// as kClear (its colour 0): no pixel then equals kOutside, the -1 a read outside a surface gives,
// which a fully transparent white would otherwise be.
#pragma once

#include <cstdint>

#include "render/surface.h"

namespace kinetta::render {

/// The fully transparent pixel.
inline constexpr Colour kClear = static_cast<Colour>(0xFF000000u);

/// The pixel's opacity, 0 (clear) to 255 (opaque).
constexpr int OpacityOf(Colour c) {
  return 255 - static_cast<int>(static_cast<std::uint32_t>(c) >> 24);
}

constexpr bool IsOpaque(Colour c) { return (static_cast<std::uint32_t>(c) >> 24) == 0; }

/// The colour bytes of `c` with the opacity `a` (0 to 255); kClear when `a` is 0.
constexpr Colour WithOpacity(Colour c, int a) {
  if (a <= 0) return kClear;
  return static_cast<Colour>((static_cast<std::uint32_t>(c) & 0xFFFFFFu) |
                             (static_cast<std::uint32_t>(255 - a) << 24));
}

/// `c` laid over the opaque colour `back`: each channel becomes
/// round((a * c + (255 - a) * back) / 255) for the pixel's opacity a; the top byte is 0. An
/// opaque pixel gives itself.
constexpr Colour Over(Colour c, Colour back) {
  const std::uint32_t u = static_cast<std::uint32_t>(c);
  const std::uint32_t t = u >> 24;  // transparency
  if (t == 0) return c;
  const std::uint32_t a = 255 - t;
  const std::uint32_t b = static_cast<std::uint32_t>(back);
  std::uint32_t mixed = 0;
  for (int part = 0; part < 3; ++part) {
    const std::uint32_t v = (u >> (8 * part)) & 0xFF;
    const std::uint32_t w = (b >> (8 * part)) & 0xFF;
    // 255 is odd, so no exact half arises and adding 127 rounds to the nearest.
    mixed |= ((a * v + t * w + 127) / 255) << (8 * part);
  }
  return static_cast<Colour>(mixed);
}

}  // namespace kinetta::render

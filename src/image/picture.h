// A decoded picture: its pixels with their opacity, and the colour profile and EXIF block its file
// carried, kept as read for the steps after decoding; and the surface the motions read: the
// picture laid over the background colour, or its own transparency for a clear background.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "base/settings.h"
#include "render/surface.h"

namespace kinetta::image {

struct Picture {
  /// Packed colours, red in the low byte. Where hasAlpha, the top byte holds each pixel's
  /// opacity (0xAABBGGRR, 255 opaque); otherwise it is 0, as in every other surface.
  render::Surface pixels;
  bool hasAlpha = false;
  /// The ICC profile the file embeds, as stored; empty for sRGB.
  std::vector<std::uint8_t> iccProfile;
  /// The EXIF block, from its TIFF header ("II*\0" or "MM\0*") on; empty when there is none.
  std::vector<std::uint8_t> exif;
};

/// A picture of `pixels` alone: opaque, sRGB, no EXIF block.
inline Picture PictureOf(render::Surface pixels) {
  Picture picture;
  picture.pixels = std::move(pixels);
  return picture;
}

/// The picture composited over the colour `back`: each channel becomes
/// round((a * c + (255 - a) * back) / 255) for the pixel's opacity a; the top bytes are 0. An
/// opaque picture gives its own pixels.
render::Surface FlattenOver(const Picture& picture, render::Colour back);

/// The same, in the picture's own memory, for a caller that no longer needs its opacity.
render::Surface FlattenOver(Picture&& picture, render::Colour back);

/// The surface the motions read for `picture` over `back`: the picture's own pixels, shared and
/// not copied, when it is opaque; a flattened copy when it has transparency.
std::shared_ptr<const render::Surface> SurfaceOver(const std::shared_ptr<const Picture>& picture,
                                                   render::Colour back);

/// The picture's pixels as the motions carry transparency (render/transparency.h): the top byte
/// becomes 255 minus the opacity and a fully transparent pixel kClear. An opaque picture gives
/// its own pixels.
render::Surface WithTransparency(Picture&& picture);

/// The surface the motions read for `picture` under `s`: its transparency kept when the
/// background is clear, else laid over the background colour; an opaque picture's own pixels,
/// shared and not copied, either way.
std::shared_ptr<const render::Surface> SurfaceFor(const std::shared_ptr<const Picture>& picture,
                                                  const base::Settings& s);

/// The same for a picture the caller no longer needs, in the picture's own memory.
render::Surface SurfaceFor(Picture&& picture, const base::Settings& s);

/// Settles `picture.hasAlpha` from its pixels, whose top bytes hold their opacity: a picture
/// with no pixel short of opaque is an opaque one, its top bytes cleared.
void SettleOpacity(Picture& picture);

}  // namespace kinetta::image

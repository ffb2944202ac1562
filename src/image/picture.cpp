// Pictures laid over a background colour, and the opacity of a decoded picture settled.
#include "image/picture.h"

#include <algorithm>
#include <utility>

#include "render/transparency.h"

namespace kinetta::image {

namespace {

// One row over the background, in place or from `in` to `out`.
void FlattenRow(const std::uint32_t* in, std::uint32_t* out, int width, std::uint32_t back) {
  const std::uint32_t backParts[3] = {back & 0xFF, (back >> 8) & 0xFF, (back >> 16) & 0xFF};
  for (int x = 0; x < width; ++x) {
    const std::uint32_t c = in[x];
    const std::uint32_t a = c >> 24;
    if (a == 255) {
      out[x] = c & 0xFFFFFFu;
      continue;
    }
    std::uint32_t mixed = 0;
    for (int part = 0; part < 3; ++part) {
      const std::uint32_t v = (c >> (8 * part)) & 0xFF;
      // 255 is odd, so no exact half arises and adding 127 rounds to the nearest.
      mixed |= ((a * v + (255 - a) * backParts[part] + 127) / 255) << (8 * part);
    }
    out[x] = mixed;
  }
}

// One row from the decoders' opacity to the motions' transparency, in place.
void ClearRow(std::uint32_t* row, int width) {
  for (int x = 0; x < width; ++x) {
    const std::uint32_t c = row[x] ^ 0xFF000000u;
    row[x] = c >= 0xFF000000u ? static_cast<std::uint32_t>(render::kClear) : c;
  }
}

}  // namespace

render::Surface FlattenOver(const Picture& picture, render::Colour back) {
  if (!picture.hasAlpha) return picture.pixels;
  const render::Surface& in = picture.pixels;
  render::Surface out = render::Surface::Unwritten(in.width(), in.height());
  for (int y = 0; y < in.height(); ++y) {
    FlattenRow(in.Row(y), out.Row(y), in.width(), static_cast<std::uint32_t>(back));
  }
  return out;
}

render::Surface FlattenOver(Picture&& picture, render::Colour back) {
  render::Surface pixels = std::move(picture.pixels);
  if (picture.hasAlpha) {
    for (int y = 0; y < pixels.height(); ++y) {
      FlattenRow(pixels.Row(y), pixels.Row(y), pixels.width(), static_cast<std::uint32_t>(back));
    }
  }
  picture.hasAlpha = false;
  return pixels;
}

std::shared_ptr<const render::Surface> SurfaceOver(const std::shared_ptr<const Picture>& picture,
                                                   render::Colour back) {
  if (!picture->hasAlpha) return std::shared_ptr<const render::Surface>(picture, &picture->pixels);
  return std::make_shared<const render::Surface>(FlattenOver(*picture, back));
}

render::Surface WithTransparency(Picture&& picture) {
  render::Surface pixels = std::move(picture.pixels);
  if (picture.hasAlpha) {
    for (int y = 0; y < pixels.height(); ++y) ClearRow(pixels.Row(y), pixels.width());
  }
  picture.hasAlpha = false;
  return pixels;
}

std::shared_ptr<const render::Surface> SurfaceFor(const std::shared_ptr<const Picture>& picture,
                                                  const base::Settings& s) {
  if (!s.TransparentBack || !picture->hasAlpha) return SurfaceOver(picture, s.BackColor);
  Picture copy;
  copy.pixels = picture->pixels;
  copy.hasAlpha = true;
  return std::make_shared<const render::Surface>(WithTransparency(std::move(copy)));
}

render::Surface SurfaceFor(Picture&& picture, const base::Settings& s) {
  return s.TransparentBack ? WithTransparency(std::move(picture))
                           : FlattenOver(std::move(picture), s.BackColor);
}

void SettleOpacity(Picture& picture) {
  render::Surface& s = picture.pixels;
  bool seeThrough = false;
  for (int y = 0; y < s.height() && !seeThrough; ++y) {
    const std::uint32_t* row = s.Row(y);
    seeThrough = std::any_of(row, row + s.width(), [](std::uint32_t c) { return c < 0xFF000000u; });
  }
  picture.hasAlpha = seeThrough;
  if (seeThrough) return;
  for (int y = 0; y < s.height(); ++y) {
    std::uint32_t* row = s.Row(y);
    std::for_each(row, row + s.width(), [](std::uint32_t& c) { c &= 0xFFFFFFu; });
  }
}

}  // namespace kinetta::image

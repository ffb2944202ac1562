// Orientations that keep the size work in place; those that swap width and height copy into a
// new surface in square tiles, so that the rows read and the rows written both stay in cache,
// on all cores.
#include "image/upright.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <thread>

#include "render/run_parts.h"

namespace kinetta::image {

namespace {

// The side of a tile: 32 rows of 32 pixels read, 32 of 32 written, well within a core's
// first-level cache.
constexpr int kTile = 32;

// Where the upright picture's pixel (x, y) lies in the stored one: at start + x * stepX +
// y * stepY pixels from its first.
struct Walk {
  std::ptrdiff_t start;
  std::ptrdiff_t stepX;
  std::ptrdiff_t stepY;
};

// For the orientations 5 to 8 of a stored w x h picture.
Walk DiagonalWalk(int orientation, std::ptrdiff_t w, std::ptrdiff_t h) {
  switch (orientation) {
    case 5:
      return {0, w, 1};
    case 6:
      return {(h - 1) * w, -w, 1};
    case 7:
      return {(h - 1) * w + w - 1, -w, -1};
    default:  // 8
      return {w - 1, w, -1};
  }
}

void MirrorRows(render::Surface& picture) {
  for (int y = 0; y < picture.height(); ++y) {
    std::reverse(picture.Row(y), picture.Row(y) + picture.width());
  }
}

void MirrorColumns(render::Surface& picture) {
  for (int top = 0, bottom = picture.height() - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(picture.Row(top), picture.Row(top) + picture.width(), picture.Row(bottom));
  }
}

render::Surface FlipDiagonal(const render::Surface& stored, int orientation) {
  const int width = stored.height();
  const int height = stored.width();
  const Walk walk = DiagonalWalk(orientation, stored.width(), stored.height());
  const std::uint32_t* from = stored.Row(0) + walk.start;
  render::Surface upright = render::Surface::Unwritten(width, height);
  const int bands = (height + kTile - 1) / kTile;
  const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  render::RunParts(threads, bands, [&](int band) {
    const int top = band * kTile;
    const int bottom = std::min(height, top + kTile);
    for (int left = 0; left < width; left += kTile) {
      const int right = std::min(width, left + kTile);
      for (int y = top; y < bottom; ++y) {
        std::uint32_t* out = upright.Row(y);
        const std::uint32_t* in = from + y * walk.stepY;
        for (int x = left; x < right; ++x) out[x] = in[x * walk.stepX];
      }
    }
    return true;
  });
  return upright;
}

}  // namespace

base::Status TurnUpright(render::Surface& picture, int orientation, const DecodeLimits& limits) {
  switch (orientation) {
    case 2:
      MirrorRows(picture);
      break;
    case 3:
      MirrorRows(picture);
      MirrorColumns(picture);
      break;
    case 4:
      MirrorColumns(picture);
      break;
    case 5:
    case 6:
    case 7:
    case 8: {
      if (picture.empty()) break;
      const base::Status fits = SizeFits(picture.height(), picture.width(), 0, limits);
      if (!fits.ok()) return fits;
      picture = FlipDiagonal(picture, orientation);
      break;
    }
    default:
      break;
  }
  return base::Status::Ok();
}

}  // namespace kinetta::image

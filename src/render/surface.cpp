// The pixel surface: sizing, filling and clipped rectangle copies.
#include "render/surface.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace kinetta::render {

void* AllocatePixels(std::size_t bytes) {
  constexpr std::size_t kHuge = std::size_t{2} << 20;
  if (bytes < kHuge) {
    if (void* p = std::malloc(std::max<std::size_t>(bytes, 1))) return p;
    throw std::bad_alloc();
  }
  const std::size_t rounded = (bytes + kHuge - 1) / kHuge * kHuge;
  void* p = std::aligned_alloc(kHuge, rounded);
  if (!p) throw std::bad_alloc();
  ::madvise(p, rounded, MADV_HUGEPAGE);  // only a hint: without huge pages all still works
  return p;
}

Surface::Surface(int width, int height, Colour fill) { Reset(width, height, fill); }

Surface Surface::Unwritten(int width, int height) {
  Surface s;
  if (width < 1 || height < 1) return s;
  s.width_ = width;
  s.height_ = height;
  s.pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  return s;
}

void Surface::Reset(int width, int height, Colour fill) {
  if (width < 1 || height < 1) {
    width_ = height_ = 0;
    pixels_.clear();
    return;
  }
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                 static_cast<std::uint32_t>(fill));
}

void Surface::Fill(Colour fill) {
  std::fill(pixels_.begin(), pixels_.end(), static_cast<std::uint32_t>(fill));
}

namespace {

// Moves a rectangle's start on one side (`start`, at least 0 afterwards) and the other side's
// start with it, shortening `length` by what was cut off.
void ClipStart(int& start, int& other, int& length) {
  if (start >= 0) return;
  other -= start;
  length += start;
  start = 0;
}

}  // namespace

void Surface::CopyFrom(const Surface& src, int sx, int sy, int w, int h, int dx, int dy) {
  // Clip the rectangle against the source, then against this surface.
  ClipStart(sx, dx, w);
  ClipStart(sy, dy, h);
  ClipStart(dx, sx, w);
  ClipStart(dy, sy, h);
  w = std::min({w, src.width_ - sx, width_ - dx});
  h = std::min({h, src.height_ - sy, height_ - dy});
  if (w <= 0 || h <= 0) return;
  for (int y = 0; y < h; ++y) {
    std::memcpy(Row(dy + y) + dx, src.Row(sy + y) + sx, static_cast<std::size_t>(w) * 4);
  }
}

}  // namespace kinetta::render

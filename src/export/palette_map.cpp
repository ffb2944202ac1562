#include "export/palette_map.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace kinetta::exporter {

namespace {

int Square(int v) { return v * v; }

// The smallest and largest squared distance along one channel from `c` to the cell's values
// [lo, hi].
void Span(int c, int lo, int hi, int& near, int& far) {
  near = c < lo ? Square(lo - c) : c > hi ? Square(c - hi) : 0;
  far = std::max(Square(c - lo), Square(c - hi));
}

}  // namespace

PaletteMap::PaletteMap(std::vector<std::uint32_t> colours) : colours_(std::move(colours)) {
  const int n = size();
  channels_.resize(static_cast<std::size_t>(n) * 3);
  for (int i = 0; i < n; ++i) {
    channels_[i * 3 + 0] = static_cast<std::int16_t>(colours_[i] & 0xFF);
    channels_[i * 3 + 1] = static_cast<std::int16_t>((colours_[i] >> 8) & 0xFF);
    channels_[i * 3 + 2] = static_cast<std::int16_t>((colours_[i] >> 16) & 0xFF);
  }
  cellStart_.assign(static_cast<std::size_t>(kCells) * kCells * kCells, kNotListed);
  cellCount_.assign(cellStart_.size(), 0);
}

void PaletteMap::ListCell(std::size_t cell) const {
  // An entry can be nearest to a colour in the cell only if its nearest possible distance is
  // no more than the farthest distance of the entry that is nearest in the worst case.
  constexpr int kSide = 256 / kCells;
  const int cr = static_cast<int>(cell / (kCells * kCells));
  const int cg = static_cast<int>(cell / kCells % kCells);
  const int cb = static_cast<int>(cell % kCells);
  const int n = size();
  int near[256], far[256];
  int bound = INT_MAX;
  for (int i = 0; i < n; ++i) {
    int nr, fr, ng, fg, nb, fb;
    Span(channels_[i * 3 + 0], cr * kSide, cr * kSide + kSide - 1, nr, fr);
    Span(channels_[i * 3 + 1], cg * kSide, cg * kSide + kSide - 1, ng, fg);
    Span(channels_[i * 3 + 2], cb * kSide, cb * kSide + kSide - 1, nb, fb);
    near[i] = nr + ng + nb;
    far[i] = fr + fg + fb;
    bound = std::min(bound, far[i]);
  }
  cellStart_[cell] = static_cast<std::uint32_t>(candidates_.size());
  for (int i = 0; i < n; ++i) {
    if (near[i] <= bound) candidates_.push_back(static_cast<std::uint8_t>(i));
  }
  // At most 255 entries, so the count fits a byte.
  cellCount_[cell] = static_cast<std::uint8_t>(candidates_.size() - cellStart_[cell]);
}

int PaletteMap::Nearest(int r, int g, int b) const {
  constexpr int kShift = 8 - kCellBits;
  const std::size_t cell =
      (static_cast<std::size_t>(r >> kShift) * kCells + (g >> kShift)) * kCells + (b >> kShift);
  if (cellStart_[cell] == kNotListed) ListCell(cell);
  const std::uint8_t* c = candidates_.data() + cellStart_[cell];
  const std::uint8_t* end = c + cellCount_[cell];
  int best = *c;
  int bestDistance = INT_MAX;
  for (; c != end; ++c) {
    const std::int16_t* e = channels_.data() + *c * 3;
    const int d = Square(r - e[0]) + Square(g - e[1]) + Square(b - e[2]);
    if (d < bestDistance) {
      bestDistance = d;
      best = *c;
    }
  }
  return best;
}

void PaletteMap::Dither(const std::uint32_t* pixels, int stride, int w, int h, float strength,
                        std::uint8_t* out) const {
  DitherOver(pixels, stride, w, h, strength, nullptr, out);
}

void PaletteMap::Dither(const std::uint32_t* pixels, int stride, int w, int h, float strength,
                        const Backdrop& backdrop, std::uint8_t* out) const {
  DitherOver(pixels, stride, w, h, strength, &backdrop, out);
}

void PaletteMap::DitherOver(const std::uint32_t* pixels, int stride, int w, int h,
                            float strength, const Backdrop* backdrop, std::uint8_t* out) const {
  // Errors in sixteenths, times the strength in 1/256: two rows, with a spare column on each
  // side so the kernel never needs a bounds check.
  const int scale = static_cast<int>(std::lround(std::clamp(strength, 0.0f, 1.0f) * 256));
  std::vector<int> errors(static_cast<std::size_t>(w + 2) * 3 * 2, 0);
  int* current = errors.data();
  int* next = errors.data() + static_cast<std::size_t>(w + 2) * 3;
  for (int y = 0; y < h; ++y) {
    const std::size_t offset = static_cast<std::size_t>(y) * stride;
    const std::uint32_t* row = pixels + offset;
    const std::uint32_t* shown = backdrop != nullptr ? backdrop->shown + offset : nullptr;
    const std::uint32_t* before = backdrop != nullptr ? backdrop->before + offset : nullptr;
    std::uint8_t* indices = out + static_cast<std::size_t>(y) * w;
    const bool forward = (y & 1) == 0;
    const int step = forward ? 1 : -1;
    std::fill(next, next + static_cast<std::size_t>(w + 2) * 3, 0);
    for (int i = 0; i < w; ++i) {
      const int x = forward ? i : w - 1 - i;
      const std::uint32_t p = row[x];
      int* e = current + (x + 1) * 3;
      // The pixel plus what its neighbours passed on; the diffused part rounds to nearest.
      const int r = std::clamp(static_cast<int>(p & 0xFF) + ((e[0] + 2048) >> 12), 0, 255);
      const int g = std::clamp(static_cast<int>((p >> 8) & 0xFF) + ((e[1] + 2048) >> 12), 0, 255);
      const int b = std::clamp(static_cast<int>((p >> 16) & 0xFF) + ((e[2] + 2048) >> 12), 0, 255);
      int seen[3];
      if (backdrop != nullptr && p == before[x]) {
        indices[x] = backdrop->keep;
        seen[0] = shown[x] & 0xFF;
        seen[1] = (shown[x] >> 8) & 0xFF;
        seen[2] = (shown[x] >> 16) & 0xFF;
      } else {
        const int index = Nearest(r, g, b);
        const std::int16_t* c = channels_.data() + index * 3;
        seen[0] = c[0];
        seen[1] = c[1];
        seen[2] = c[2];
        indices[x] = static_cast<std::uint8_t>(index);
        if (backdrop != nullptr) {
          const int sr = shown[x] & 0xFF, sg = (shown[x] >> 8) & 0xFF, sb = (shown[x] >> 16) & 0xFF;
          if (Square(r - sr) + Square(g - sg) + Square(b - sb) <=
              Square(r - seen[0]) + Square(g - seen[1]) + Square(b - seen[2]) +
                  backdrop->slack) {
            indices[x] = backdrop->keep;
            seen[0] = sr;
            seen[1] = sg;
            seen[2] = sb;
          }
        }
      }
      if (scale == 0) continue;
      const int diff[3] = {(r - seen[0]) * scale, (g - seen[1]) * scale, (b - seen[2]) * scale};
      int* ahead = e + step * 3;
      int* below = next + (x + 1) * 3;
      for (int k = 0; k < 3; ++k) {
        ahead[k] += diff[k] * 7;
        below[k - step * 3] += diff[k] * 3;
        below[k] += diff[k] * 5;
        below[k + step * 3] += diff[k];
      }
    }
    std::swap(current, next);
  }
}

}  // namespace kinetta::exporter

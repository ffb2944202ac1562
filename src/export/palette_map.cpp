#include "export/palette_map.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace kinetta::exporter {

namespace {

int Square(int v) { return v * v; }

}  // namespace

PaletteMap::PaletteMap(std::vector<std::uint32_t> colours, int runSlack)
    : colours_(std::move(colours)), runSlack_(runSlack) {
  for (int i = 0; i < size(); ++i) {
    for (int k = 0; k < 3; ++k) {
      planes_[k * 256 + i] = static_cast<int>((colours_[i] >> (8 * k)) & 0xFF);
    }
  }
  cellStart_.assign(static_cast<std::size_t>(kCells) * kCells * kCells, kNotListed);
  cellCount_.assign(cellStart_.size(), 0);
}

int PaletteMap::Distance(int r, int g, int b, int i) const {
  return Square(r - planes_[i]) + Square(g - planes_[256 + i]) + Square(b - planes_[512 + i]);
}

void PaletteMap::ListCell(std::size_t cell) const {
  // An entry can be nearest to a colour in the cell only if its nearest possible distance is
  // no more than the farthest distance of the entry that is nearest in the worst case. The
  // entries' channels are read from planes of their own, so that the loops run on whole
  // vectors of entries at once.
  constexpr int kSide = 256 / kCells;
  const int lo[3] = {static_cast<int>(cell / (kCells * kCells)) * kSide,
                     static_cast<int>(cell / kCells % kCells) * kSide,
                     static_cast<int>(cell % kCells) * kSide};
  const int n = size();
  int near[256], far[256];
  for (int i = 0; i < n; ++i) near[i] = far[i] = 0;
  for (int k = 0; k < 3; ++k) {
    const int* c = planes_.data() + k * 256;
    const int l = lo[k], h = lo[k] + kSide - 1;
    for (int i = 0; i < n; ++i) {
      const int outside = std::max(std::max(l - c[i], c[i] - h), 0);
      const int across = std::max(c[i] - l, h - c[i]);
      near[i] += outside * outside;
      far[i] += across * across;
    }
  }
  int bound = INT_MAX;
  for (int i = 0; i < n; ++i) bound = std::min(bound, far[i]);
  cellStart_[cell] = static_cast<std::uint32_t>(candidates_.size());
  for (int i = 0; i < n; ++i) {
    if (near[i] <= bound) candidates_.push_back(static_cast<std::uint8_t>(i));
  }
  cellCount_[cell] = static_cast<std::uint16_t>(candidates_.size() - cellStart_[cell]);
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
    const int d = Distance(r, g, b, *c);
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

void PaletteMap::DitherOver(const std::uint32_t* pixels, int stride, int w, int h, float strength,
                            const Backdrop* backdrop, std::uint8_t* out) const {
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
    int last = -1;  // the entry the previous pixel of the row took
    for (int i = 0; i < w; ++i) {
      const int x = forward ? i : w - 1 - i;
      const std::uint32_t p = row[x];
      if (clear_ >= 0 && (p >> 24) != 0) {
        // A clear pixel shows nothing, so there is no error to pass on.
        indices[x] = static_cast<std::uint8_t>(clear_);
        last = -1;
        continue;
      }
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
        int index = Nearest(r, g, b);
        if (runSlack_ > 0 && last >= 0 && last != index &&
            Distance(r, g, b, last) <= Distance(r, g, b, index) + runSlack_) {
          index = last;
        }
        last = index;
        for (int k = 0; k < 3; ++k) seen[k] = planes_[k * 256 + index];
        indices[x] = static_cast<std::uint8_t>(index);
        if (backdrop != nullptr && (shown[x] >> 24) == 0) {
          const int sr = shown[x] & 0xFF, sg = (shown[x] >> 8) & 0xFF, sb = (shown[x] >> 16) & 0xFF;
          if (Square(r - sr) + Square(g - sg) + Square(b - sb) <=
              Square(r - seen[0]) + Square(g - seen[1]) + Square(b - seen[2])) {
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

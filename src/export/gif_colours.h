// The colours of a GIF's frames as the encoder learns them: the distinct colours while they fit
// one palette exactly, and how often each occurs while a drawing's few thousand fit a table.
#pragma once

#include <libimagequant.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/surface.h"
#include "render/transparency.h"

namespace kinetta::exporter {

// The distinct colours of the animation (or a frame) while there are at most `max` of them (256
// or fewer). Then they are the palette as they are, and every frame is stored exactly;
// libimagequant's palette, worked out in a gamma space, can move a colour by a step.
class ColourSet {
 public:
  explicit ColourSet(int max = 255) : max_(max) {}

  bool overflowed() const { return overflowed_; }
  int size() const { return count_; }
  /// Whether some pixel added was clear.
  bool sawClear() const { return sawClear_; }

  /// Adds the colours of a frame whose pixels are opaque or clear; clear ones are no colour.
  void Add(const render::Surface& frame) {
    for (int y = 0; y < frame.height() && !overflowed_; ++y) AddRow(frame.Row(y), frame.width());
  }

  void AddRow(const std::uint32_t* row, int n) {
    std::uint32_t last = kEmpty;
    for (int x = 0; x < n && !overflowed_; ++x) {
      if (row[x] == last) continue;  // flat areas cost one comparison a pixel
      last = row[x];
      if (!render::IsOpaque(last)) {
        sawClear_ = true;
        continue;
      }
      if (!Insert(last)) return;
    }
  }

  /// The colours in ascending order.
  std::vector<std::uint32_t> Colours() const {
    std::vector<std::uint32_t> colours;
    for (std::uint32_t c : slots_) {
      if (c != kEmpty) colours.push_back(c);
    }
    std::sort(colours.begin(), colours.end());
    return colours;
  }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;  // never an opaque colour
  static constexpr std::size_t kSlots = 1024;           // a power of two, four times 256

  // False once the colours are more than max_.
  bool Insert(std::uint32_t c) {
    std::size_t i = (c * 2654435761u) & (kSlots - 1);
    while (slots_[i] != kEmpty) {
      if (slots_[i] == c) return true;
      i = (i + 1) & (kSlots - 1);
    }
    if (++count_ > max_) {
      overflowed_ = true;
      return false;
    }
    slots_[i] = c;
    return true;
  }

  std::vector<std::uint32_t> slots_ = std::vector<std::uint32_t>(kSlots, kEmpty);
  int max_;
  int count_ = 0;
  bool overflowed_ = false;
  bool sawClear_ = false;
};

// How often each colour of the animation occurs, while there are at most kMax colours: a
// drawing's colours (flat areas, their soft edges and shading) fit, a photo's overflow at once.
class ColourCounter {
 public:
  static constexpr std::size_t kMax = std::size_t{1} << 15;

  bool overflowed() const { return overflowed_; }

  void Add(const render::Surface& frame) {
    for (int y = 0; y < frame.height() && !overflowed_; ++y) {
      const std::uint32_t* row = frame.Row(y);
      int x = 0;
      while (x < frame.width() && !overflowed_) {
        const std::uint32_t c = row[x];
        int n = 1;
        while (x + n < frame.width() && row[x + n] == c) ++n;
        x += n;
        if (render::IsOpaque(c)) Insert(c, static_cast<unsigned>(n));
      }
    }
  }

  /// The colours with their counts, for libimagequant.
  std::vector<liq_histogram_entry> Entries() const {
    std::vector<liq_histogram_entry> entries;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      const std::uint32_t c = slots_[i];
      if (c == kEmpty) continue;
      liq_histogram_entry e{};
      e.color = liq_color{static_cast<unsigned char>(c & 0xFF),
                          static_cast<unsigned char>((c >> 8) & 0xFF),
                          static_cast<unsigned char>((c >> 16) & 0xFF), 255};
      e.count = counts_[i];
      entries.push_back(e);
    }
    return entries;
  }

  void Clear() {
    slots_ = {};
    counts_ = {};
  }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;  // never an opaque colour

  void Insert(std::uint32_t c, unsigned n) {
    if (slots_.empty()) {
      slots_.assign(2 * kMax, kEmpty);
      counts_.assign(2 * kMax, 0);
    }
    std::size_t i = (c * 2654435761u) & (slots_.size() - 1);
    while (slots_[i] != kEmpty && slots_[i] != c) i = (i + 1) & (slots_.size() - 1);
    if (slots_[i] == kEmpty) {
      if (++count_ > kMax) {
        overflowed_ = true;
        Clear();
        return;
      }
      slots_[i] = c;
    }
    counts_[i] += n;
  }

  std::vector<std::uint32_t> slots_;
  std::vector<unsigned> counts_;
  std::size_t count_ = 0;
  bool overflowed_ = false;
};

}  // namespace kinetta::exporter

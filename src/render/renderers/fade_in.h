// The fade-in's formulas: the cross-fade's weighted mean, and the random dots' generator and
// threshold.
#pragma once

#include <cstdint>

#include "render/renderer.h"

namespace kinetta::render::fadein {

/// The frame: W x H.
FrameSize Size(const Settings& s, int sourceWidth, int sourceHeight);

/// The tables made once per run, at most: with the dots, each pixel's first frame.
double TableBytes(const Settings& s, int sourceWidth, int sourceHeight);

/// One component of frame k of n (1 <= k <= n - 1) in the cross-fade:
/// round(((n - k - 1) x back + source x k) / (n - 1)), halves to even. The weights are summed
/// in 64 bits, so frame counts above 129 keep the same formula.
int CrossFade(int back, int source, int k, int n);

/// t = round(r x (n - 1)), halves to even: a pixel is drawn in frame k when t <= k.
int DotThreshold(float r, int n);

/// The largest 24-bit value u whose r = u x 2^-24 gives DotThreshold(r, n) <= k, or -1 when
/// there is none: in frame k a pixel is drawn exactly when its random u is at most this.
std::int32_t DotBound(int k, int n);

/// The dots' random generator: SplitMix64 seeded with the run's seed, each value 24 random bits
/// scaled by 2^-24, so a single-precision number in [0, 1) held exactly.
class DotRandom {
 public:
  static constexpr std::uint64_t kStep = 0x9E3779B97F4A7C15ull;
  /// The multipliers of SplitMix64's mixing function.
  static constexpr std::uint64_t kMix1 = 0xBF58476D1CE4E5B9ull;
  static constexpr std::uint64_t kMix2 = 0x94D049BB133111EBull;
  explicit DotRandom(std::uint64_t seed) : state_(seed) {}
  /// The next 24 random bits (0 .. 2^24 - 1).
  std::uint32_t NextBits() { return Mix(state_ += kStep); }
  /// The next value in [0, 1).
  float Next() { return static_cast<float>(NextBits()) * (1.0f / 16777216.0f); }

  /// The bits the generator seeded with `seed` gives at its call number `i` (0-based), without
  /// making the calls before it: SplitMix64 is a counter run through a mixing function.
  static std::uint32_t BitsAt(std::uint64_t seed, std::uint64_t i) {
    return Mix(seed + (i + 1) * kStep);
  }

 private:
  static std::uint32_t Mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * kMix1;
    z = (z ^ (z >> 27)) * kMix2;
    z ^= z >> 31;
    return static_cast<std::uint32_t>(z >> 40);
  }
  std::uint64_t state_;
};

/// The order in which a frame's pixels draw their random values: columns in blocks of 32, and
/// within a block row by row. Returns the position of pixel (x, y) of a w x h frame.
std::uint64_t VisitIndex(int x, int y, int w, int h);

}  // namespace kinetta::render::fadein

// Fade-in: the picture emerges from the background colour, either by a cross-fade (every pixel
// the weighted mean of both) or in random dots that build up from frame to frame. The first
// frame is the plain background; from two frames on, the last frame is the source itself.
#include "render/renderers/fade_in.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "render/geometry.h"
#include "render/motions.h"

namespace kinetta::render {

namespace fadein {

int CrossFade(int back, int source, int k, int n) {
  const std::int64_t sum =
      static_cast<std::int64_t>(n - k - 1) * back + static_cast<std::int64_t>(source) * k;
  return RoundHalfEven(static_cast<double>(sum) / (n - 1));
}

int DotThreshold(float r, int n) { return RoundHalfEven(static_cast<double>(r) * (n - 1)); }

std::int32_t DotBound(int k, int n) {
  constexpr std::int32_t kTop = (1 << 24) - 1;
  auto drawn = [&](std::int32_t u) {
    return DotThreshold(static_cast<float>(u) * (1.0f / 16777216.0f), n) <= k;
  };
  if (!drawn(0)) return -1;
  if (drawn(kTop)) return kTop;
  // The threshold never falls as u grows: find the last u that is drawn.
  std::int32_t lo = 0, hi = kTop;  // drawn(lo), !drawn(hi)
  while (hi - lo > 1) {
    const std::int32_t mid = lo + (hi - lo) / 2;
    (drawn(mid) ? lo : hi) = mid;
  }
  return lo;
}

}  // namespace fadein

namespace {

// The dots' random generator is seeded from the run's seed (the program gives each run a seed
// from the clock), whatever non-zero value the switch holds, so one seed always gives the same
// frames. With a single frame both modes give the plain background.
class FadeIn final : public Renderer {
 public:
  explicit FadeIn(const RenderInput& in)
      : Renderer(in), dots_(in.settings.Shade3D != 0), random_(in.seed) {}

  FrameSize Size() const override { return {in_.sourceWidth, in_.sourceHeight}; }

  // The dots of frame k are drawn over those of frame k - 1.
  bool Sequential() const override { return dots_; }

  bool DrawFrame(int k, Surface& canvas, Checkpoint& checkpoint) override {
    if (k == 0) {
      // Frame 0 is plain background in both modes; a run's dots start afresh from the seed.
      canvas.Fill(in_.settings.BackColor);
      if (dots_) random_ = fadein::DotRandom(in_.seed);
      return true;
    }
    return dots_ ? DrawDots(k, canvas, checkpoint) : DrawCrossFade(k, canvas, checkpoint);
  }

 private:
  // Columns are the outer loop with a checkpoint every 32 columns; within each block of 32
  // columns the pixels are visited row by row. Every pixel is visited once per frame.
  template <typename PerPixel>
  bool ForEachPixel(Surface& canvas, Checkpoint& checkpoint, PerPixel f) {
    const int w = in_.sourceWidth;
    const int h = in_.sourceHeight;
    for (int x0 = 0; x0 < w; x0 += 32) {
      if (checkpoint.Step()) return false;
      const int x1 = std::min(w, x0 + 32);
      for (int y = 0; y < h; ++y) {
        const std::uint32_t* src = in_.work.Row(y);
        std::uint32_t* dst = canvas.Row(y);
        for (int x = x0; x < x1; ++x) f(src[x], dst[x]);
      }
    }
    return true;
  }

  bool DrawCrossFade(int k, Surface& canvas, Checkpoint& checkpoint) {
    const int n = in_.settings.FrameCount;
    // The new component depends only on the source component: one table per part and frame,
    // each value clamped and shifted into place.
    std::uint32_t mix[3][256];
    for (int p = 0; p < 3; ++p) {
      const int b = RGBPart(in_.settings.BackColor, p);
      for (int s = 0; s < 256; ++s) {
        const int v = std::clamp(fadein::CrossFade(b, s, k, n), 0, 255);
        mix[p][s] = static_cast<std::uint32_t>(v) << (8 * p);
      }
    }
    return ForEachPixel(canvas, checkpoint, [&](std::uint32_t c, std::uint32_t& out) {
      out = mix[0][c & 0xFF] | mix[1][(c >> 8) & 0xFF] | mix[2][c >> 16];
    });
  }

  bool DrawDots(int k, Surface& canvas, Checkpoint& checkpoint) {
    // Each pixel draws a fresh random value; it shows the source once its threshold is <= k.
    const std::int32_t bound = fadein::DotBound(k, in_.settings.FrameCount);
    // The generator is worked on in a local (kept in registers) and handed back afterwards.
    fadein::DotRandom random = random_;
    const bool drawn = ForEachPixel(canvas, checkpoint, [&](std::uint32_t c, std::uint32_t& out) {
      // Branch-free: whether a pixel is drawn is random, so a branch would often mispredict.
      const std::uint32_t keep =
          0u - static_cast<std::uint32_t>(static_cast<std::int32_t>(random.NextBits()) <= bound);
      out = (c & keep) | (out & ~keep);
    });
    random_ = random;
    return drawn;
  }

  const bool dots_;
  fadein::DotRandom random_;  // only the dots use it, drawn in order on one canvas
};

}  // namespace

std::unique_ptr<Renderer> MakeFadeIn(const RenderInput& in) { return std::make_unique<FadeIn>(in); }

}  // namespace kinetta::render

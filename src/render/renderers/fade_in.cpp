// Fade-in: the picture emerges from the background colour, either by a cross-fade (every pixel
// the weighted mean of both) or in random dots that build up from frame to frame. Over a clear
// background the cross-fade raises the picture's opacity, its colours as they are. The first
// frame is the plain background; from two frames on, the last frame is the source itself.
#include "render/renderers/fade_in.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "render/geometry.h"
#include "render/motions.h"
#include "render/transparency.h"
#include "render/vector_paths.h"

namespace kinetta::render {

namespace fadein {

FrameSize Size(const Settings&, int w, int h) { return {w, h}; }

double TableBytes(const Settings& s, int w, int h) {
  return s.Shade3D != 0 ? std::max(0, w) * static_cast<double>(std::max(0, h)) * 2 : 0;
}

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

std::uint64_t VisitIndex(int x, int y, int w, int h) {
  const int x0 = x / 32 * 32;
  const int blockWidth = std::min(32, w - x0);
  return static_cast<std::uint64_t>(x0) * static_cast<std::uint64_t>(h) +
         static_cast<std::uint64_t>(y) * static_cast<std::uint64_t>(blockWidth) +
         static_cast<std::uint64_t>(x - x0);
}

namespace {

// Eight pixels at a time while eight remain: each lane draws as the one-pixel loop below does,
// in 64-bit integers, and the eight stop together once every lane is drawn. Returns the pixels
// done.
#if defined(__x86_64__)
__attribute__((target("avx512f,avx512dq"))) int EightAtATime(std::uint64_t seed,
                                                             std::uint64_t perFrame,
                                                             const std::int32_t* bound, int n,
                                                             std::uint64_t visit0, int count,
                                                             std::uint16_t* first) {
  const __m512i step = _mm512_set1_epi64(static_cast<long long>(DotRandom::kStep));
  const __m512i mix1 = _mm512_set1_epi64(static_cast<long long>(DotRandom::kMix1));
  const __m512i mix2 = _mm512_set1_epi64(static_cast<long long>(DotRandom::kMix2));
  const __m512i seeds = _mm512_set1_epi64(static_cast<long long>(seed));
  const __m512i lanes = _mm512_set_epi64(7, 6, 5, 4, 3, 2, 1, 0);
  // Shifts and the narrowing store in their zero-masked forms, all lanes kept: the plain forms
  // start from an unset register, which GCC 12 warns of.
  const __mmask8 all = 0xFF;
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m512i visit =
        _mm512_add_epi64(_mm512_set1_epi64(static_cast<long long>(visit0 + i)), lanes);
    __m512i frame = _mm512_set1_epi64(n - 1);
    __mmask8 open = 0xFF;
    for (int k = 1; k < n - 1 && open != 0; ++k) {
      // DotRandom::BitsAt in each lane: the call number plus one times the step, plus the seed,
      // through SplitMix64's mixing.
      const std::uint64_t calls = static_cast<std::uint64_t>(k - 1) * perFrame + 1;
      const __m512i call =
          _mm512_add_epi64(visit, _mm512_set1_epi64(static_cast<long long>(calls)));
      __m512i z = _mm512_add_epi64(seeds, _mm512_mullo_epi64(call, step));
      z = _mm512_mullo_epi64(_mm512_xor_si512(z, _mm512_maskz_srli_epi64(all, z, 30)), mix1);
      z = _mm512_mullo_epi64(_mm512_xor_si512(z, _mm512_maskz_srli_epi64(all, z, 27)), mix2);
      z = _mm512_xor_si512(z, _mm512_maskz_srli_epi64(all, z, 31));
      const __m512i u = _mm512_maskz_srli_epi64(all, z, 40);
      const __mmask8 drawn = _mm512_mask_cmple_epi64_mask(open, u, _mm512_set1_epi64(bound[k]));
      frame = _mm512_mask_mov_epi64(frame, drawn, _mm512_set1_epi64(k));
      open = static_cast<__mmask8>(open & ~drawn);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(first + i),
                     _mm512_maskz_cvtepi64_epi16(all, frame));
  }
  return i;
}
#endif

// The frame in which each of `count` pixels first shows the source, for pixels at the visits
// visit0, visit0 + 1, ... of frames of `perFrame` pixels: the first k in 1 .. n - 2 whose value
// (call (k - 1) x perFrame + visit of the generator seeded with `seed`) is at most bound[k],
// else n - 1. Eight pixels at a time where the processor has AVX-512, with the same integers.
void FirstFrames(std::uint64_t seed, std::uint64_t perFrame, const std::int32_t* bound, int n,
                 std::uint64_t visit0, int count, std::uint16_t* first) {
  int i = 0;
#if defined(__x86_64__)
  static const bool eightLanes = CanUse(VectorSet::Avx512);
  if (eightLanes) i = EightAtATime(seed, perFrame, bound, n, visit0, count, first);
#endif
  for (; i < count; ++i) {
    const std::uint64_t visit = visit0 + static_cast<std::uint64_t>(i);
    int frame = n - 1;
    for (int k = 1; k < n - 1; ++k) {
      const std::uint64_t call = static_cast<std::uint64_t>(k - 1) * perFrame + visit;
      if (static_cast<std::int32_t>(DotRandom::BitsAt(seed, call)) <= bound[k]) {
        frame = k;
        break;
      }
    }
    first[i] = static_cast<std::uint16_t>(frame);
  }
}

}  // namespace

}  // namespace fadein

namespace {

// The dots' random generator is seeded from the run's seed (the program gives each run a seed
// from the clock), whatever non-zero value the switch holds, so one seed always gives the same
// frames. With a single frame both modes give the plain background.
//
// The dots of frame k are drawn over those of frame k - 1: from frame 1 on, each pixel draws a
// fresh random value in every frame (in the visiting order of the frames, one after another) and
// shows the source from the first frame whose value is low enough. That first frame depends only
// on the pixel's own values, which the counter-based generator gives directly; it is worked out
// once per run, and then every frame can be drawn on its own, on any thread.
class FadeIn final : public RendererSizedBy<&fadein::Size> {
 public:
  explicit FadeIn(const RenderInput& in) : RendererSizedBy(in), dots_(in.settings.Shade3D != 0) {
    if (dots_ && in.settings.FrameCount >= 2) FindFirstFrames();
  }

  bool DrawRows(int k, FrameRows& canvas, Checkpoint& checkpoint) const override {
    if (k == 0) {
      // Frame 0 is plain background in both modes.
      const std::uint32_t back = Background();
      return DrawRowsPaced(canvas, checkpoint, in_.sourceHeight, Pace::Never(),
                           [&](int y) { std::fill_n(canvas.Row(y), in_.sourceWidth, back); });
    }
    return dots_ ? DrawDots(k, canvas, checkpoint) : DrawCrossFade(k, canvas, checkpoint);
  }

 private:
  // Every pixel is visited once per frame, row by row so that memory is read in order, with
  // the checkpoint's calls (one per 32 columns) spread over the rows.
  template <typename PerPixel>
  bool ForEachPixel(FrameRows& canvas, Checkpoint& checkpoint, PerPixel f) const {
    const int w = in_.sourceWidth;
    const int h = in_.sourceHeight;
    return DrawRowsPaced(canvas, checkpoint, h, Pace::ByColumns(w), [&](int y) {
      const std::uint32_t* src = in_.work->Row(y);
      std::uint32_t* dst = canvas.Row(y);
      const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
      for (int x = 0; x < w; ++x) f(src[x], dst[x], row + static_cast<std::size_t>(x));
    });
  }

  bool DrawCrossFade(int k, FrameRows& canvas, Checkpoint& checkpoint) const {
    const int n = in_.settings.FrameCount;
    if (clearBack_) {
      // The mean of premultiplied colours, weighted as the components are, over a clear
      // background (opacity 0, nothing to add): the source's own colour at the opacity
      // round(k x a / (n - 1)), so soft edges fade in without darkening. One entry per opacity.
      std::uint32_t top[256];
      for (int a = 0; a < 256; ++a) {
        const int faded = fadein::CrossFade(0, a, k, n);
        top[a] = faded == 0 ? 0xFF000000u : static_cast<std::uint32_t>(255 - faded) << 24;
      }
      return ForEachPixel(canvas, checkpoint,
                          [&](std::uint32_t c, std::uint32_t& out, std::size_t) {
                            const std::uint32_t t = top[OpacityOf(static_cast<Colour>(c))];
                            out = t == 0xFF000000u ? t : (c & 0xFFFFFFu) | t;
                          });
    }
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
    return ForEachPixel(canvas, checkpoint, [&](std::uint32_t c, std::uint32_t& out, std::size_t) {
      out = mix[0][c & 0xFF] | mix[1][(c >> 8) & 0xFF] | mix[2][(c >> 16) & 0xFF];
    });
  }

  bool DrawDots(int k, FrameRows& canvas, Checkpoint& checkpoint) const {
    const std::uint32_t back = Background();
    const auto frame = static_cast<std::uint16_t>(k);
    return ForEachPixel(canvas, checkpoint,
                        [&](std::uint32_t c, std::uint32_t& out, std::size_t i) {
                          out = firstFrame_[i] <= frame ? c : back;
                        });
  }

  // For every pixel the first frame (1 .. n - 1) in which its random value is at most that
  // frame's bound; in frame n - 1 every value is (the bound is the largest value).
  void FindFirstFrames() {
    const int w = in_.sourceWidth, h = in_.sourceHeight, n = in_.settings.FrameCount;
    std::vector<std::int32_t> bound(static_cast<std::size_t>(n));
    for (int k = 1; k < n; ++k) bound[static_cast<std::size_t>(k)] = fadein::DotBound(k, n);
    const std::uint64_t perFrame = static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h);
    // Sized unset: every entry is written once below, on the cores that make the table.
    firstFrame_.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    // Parts of 32 rows, on all cores: each pixel's entry depends on nothing but the pixel. Within
    // a block of 32 columns a row's pixels are visited one after another.
    TableParts(in_, (h + 31) / 32, [&](int part) {
      const int y0 = part * 32;
      if (PreparingStopped(in_, y0)) return false;
      for (int y = y0; y < std::min(h, y0 + 32); ++y) {
        std::uint16_t* row = firstFrame_.data() + static_cast<std::size_t>(y) * w;
        for (int x0 = 0; x0 < w; x0 += 32) {
          fadein::FirstFrames(in_.seed, perFrame, bound.data(), n, fadein::VisitIndex(x0, y, w, h),
                              std::min(32, w - x0), row + x0);
        }
      }
      return true;
    });
  }

  const bool dots_;
  std::vector<std::uint16_t, PixelAllocator<std::uint16_t>> firstFrame_;  // the dots only, by rows
};

}  // namespace

std::unique_ptr<Renderer> MakeFadeIn(const RenderInput& in) { return std::make_unique<FadeIn>(in); }

}  // namespace kinetta::render

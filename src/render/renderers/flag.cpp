// Flag: the picture waves like a flag on a pole at its left edge; the wave's phase advances by
// one FrameCount-th of a turn per frame, so the last frame leads back to the first.
#include "render/renderers/flag.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

#include "render/geometry.h"
#include "render/motions.h"
#include "render/renderers/wave.h"

namespace kinetta::render {

namespace flag {

Geometry MakeGeometry(int w, int h) {
  return {RoundHalfEven(w * 1.05), RoundHalfEven(h * 1.1), RoundHalfEven(h * 0.05)};
}

FrameSize Size(const Settings&, int w, int h) {
  const Geometry g = MakeGeometry(w, h);
  return {g.width, g.height};
}

double TableBytes(const Settings& s, int w, int h) {
  return std::max(0, Size(s, w, h).width) * 8.0;
}

double Amplitude(int x, int w) {
  double a = x / (w * 0.01);
  if (a > w * 0.02) a = w * 0.02;
  return a;
}

Position SourcePosition(int x, int y, double phi, const Geometry& g, int w) {
  const double a = Amplitude(x, w);
  const double a1 = wave::Angle(phi, y, g.width);
  const double a2 = wave::Angle(phi, x, g.height);
  return {RoundHalfEven(std::cos(a1) * a + x), RoundHalfEven(std::sin(a2) * a + y - g.shift)};
}

}  // namespace flag

namespace {

// The canvas is FW x FH, exactly the pixels the loops visit (the frame size in twips,
// W x 1.05 by H x 1.1, rounded the same way as the loop bounds).
class Flag final : public RendererSizedBy<&flag::Size> {
 public:
  explicit Flag(const RenderInput& in)
      : RendererSizedBy(in),
        g_(flag::MakeGeometry(in.sourceWidth, in.sourceHeight)),
        back_(Background()),
        amplitude_(static_cast<std::size_t>(g_.width > 0 ? g_.width : 0)) {
    for (int x = 0; x < g_.width; ++x) {
      if (PreparingStopped(in, x)) return;
      amplitude_[x] = flag::Amplitude(x, in.sourceWidth);
    }
  }

  bool DrawRows(int k, FrameRows& canvas, Checkpoint& checkpoint) const override {
    const int w = in_.sourceWidth;
    const int h = in_.sourceHeight;
    const double phi = wave::Phase(k, in_.settings.FrameCount);
    // cos(a1) depends on the row alone and sin(a2) x A on the column alone; the per-pixel sums
    // below are the same double expressions as in flag::SourcePosition, term by term.
    std::vector<double> rowCos(static_cast<std::size_t>(g_.height));
    std::vector<double> colSwing(static_cast<std::size_t>(g_.width));
    for (int y = 0; y < g_.height; ++y) rowCos[y] = std::cos(wave::Angle(phi, y, g_.width));
    for (int x = 0; x < g_.width; ++x) {
      colSwing[x] = std::sin(wave::Angle(phi, x, g_.height)) * amplitude_[x];
    }
    // Locals for everything the inner loop reads: stores to the canvas could otherwise alias
    // the sizes and force them to be read again for every pixel.
    const int fw = g_.width;
    const int fh = g_.height;
    const double shift = g_.shift;
    const std::uint32_t back = back_;
    const std::uint32_t* work = in_.work->Row(0);
    const std::ptrdiff_t stride = in_.work->width();
    const double* amp = amplitude_.data();
    const double* swing = colSwing.data();
    return wave::WithRounding([&](auto convert) {
      constexpr bool kConvert = decltype(convert)::value;
      return DrawRowsPaced(canvas, checkpoint, fh, Pace::ByRows(), [&](int y) {
        const double c = rowCos[y];
        const double yd = y;
        std::uint32_t* dst = canvas.Row(y);
        for (int x = 0; x < fw; ++x) {
          const int sx = wave::RoundNearest<kConvert>(c * amp[x] + x);
          const int sy = wave::RoundNearest<kConvert>(swing[x] + yd - shift);
          // Positions outside the source are not drawn: the pixel shows the background.
          const bool inside = static_cast<unsigned>(sx) < static_cast<unsigned>(w) &&
                              static_cast<unsigned>(sy) < static_cast<unsigned>(h);
          dst[x] = inside ? work[sy * stride + sx] : back;
          // A row's reads wander up and down the source with the wave, too far apart for the
          // processor to foresee; every 8th pixel asks for the line that the row kPrefetchRows
          // below will read about there, so that those reads find it waiting.
          if ((x & 7) == 0 && inside && sy + kPrefetchRows < h) {
            __builtin_prefetch(work + (sy + kPrefetchRows) * stride + sx);
          }
        }
      });
    });
  }

 private:
  static constexpr int kPrefetchRows = 4;

  const flag::Geometry g_;
  const std::uint32_t back_;
  std::vector<double> amplitude_;  // A per column
};

}  // namespace

std::unique_ptr<Renderer> MakeFlag(const RenderInput& in) { return std::make_unique<Flag>(in); }

}  // namespace kinetta::render

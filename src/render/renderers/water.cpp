// Water surface: the picture above, its mirror image in rippling water below; the ripples'
// phase advances by one FrameCount-th of a turn per frame. With the switch on, a quarter of the
// background colour (the water colour) is mixed into the reflection. Every pixel of the frame
// is the picture or its reflection, so no background shows: with a clear background the colour
// setting is still the water's, tinting the reflection's colour but never its transparency.
#include "render/renderers/water.h"

#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

#include "render/geometry.h"
#include "render/motions.h"
#include "render/renderers/wave.h"

namespace kinetta::render {

namespace water {

namespace {
// The ripples repeat every W / 20 rows and every 2H / 14 columns (real quotients).
double RowPeriod(int w) { return w / 20.0; }
double ColumnPeriod(int h) { return (2 * h) / 14.0; }
}  // namespace

FrameSize Size(const Settings&, int w, int h) { return {w, 2 * h}; }

Position SourcePosition(int x, int y, double phi, int w, int h) {
  const double a1 = wave::Angle(phi, y, RowPeriod(w));
  const double a2 = wave::Angle(phi, x, ColumnPeriod(h));
  const int sx = RoundHalfEven(std::cos(a1) * 2 + x);
  const int sy = RoundHalfEven(std::sin(a2) + y);
  if (sx < 0 || sx >= w || sy < 0 || sy >= h) return {x, y};
  return {sx, sy};
}

int Tint(int component, int waterComponent) {
  return RoundHalfEven((3 * component + waterComponent) / 4.0);
}

Colour Reflect(Colour c, Colour water, bool tinted) {
  int r = RGBPart(c, 0), g = RGBPart(c, 1), b = RGBPart(c, 2);
  if (tinted) {
    r = Tint(r, RGBPart(water, 0));
    g = Tint(g, RGBPart(water, 1));
    b = Tint(b, RGBPart(water, 2));
  }
  return static_cast<Colour>(PackClamped(r, g, b));
}

}  // namespace water

namespace {

// The canvas is W x 2H. Its upper half is the source, put there once per canvas: no frame
// writes it, so every frame drawn on the canvas shows it. Every pixel of the lower half is
// written in every frame, so the background colour never shows.
class Water final : public RendererSizedBy<&water::Size> {
 public:
  explicit Water(const RenderInput& in) : RendererSizedBy(in), tinted_(in.settings.Shade3D == 1) {
    const Colour waterColour = in.settings.BackColor;
    // The reflected colour, tabulated per component and already shifted into place; a work
    // pixel's components are 0..255.
    for (int p = 0; p < 3; ++p) {
      const int w = RGBPart(waterColour, p);
      int t[256];
      Tabulate(t, [&](int c) { return water::Tint(c, w); });
      for (int c = 0; c < 256; ++c) {
        const int v = t[c] < 0 ? 0 : (t[c] > 255 ? 255 : t[c]);
        reflect_[p][c] = static_cast<std::uint32_t>(v) << (8 * p);
      }
    }
  }

  // The upper half is the source itself in every frame: it is laid here and never drawn.
  void StartRow(int y, std::uint32_t* row) const override {
    if (y < in_.sourceHeight) {
      std::copy_n(in_.work->Row(y), in_.sourceWidth, row);
    } else {
      Renderer::StartRow(y, row);
    }
  }

  bool DrawRows(int k, FrameRows& canvas, Checkpoint& checkpoint) const override {
    const int w = in_.sourceWidth;
    const int h = in_.sourceHeight;
    const double phi = wave::Phase(k, in_.settings.FrameCount);
    // cos(a1) x 2 depends on the row alone, sin(a2) on the column alone.
    std::vector<double> rowSwing(static_cast<std::size_t>(h));
    std::vector<double> colSwing(static_cast<std::size_t>(w));
    const double rowPeriod = water::RowPeriod(w);
    const double columnPeriod = water::ColumnPeriod(h);
    for (int y = 0; y < h; ++y) rowSwing[y] = std::cos(wave::Angle(phi, y, rowPeriod)) * 2;
    for (int x = 0; x < w; ++x) colSwing[x] = std::sin(wave::Angle(phi, x, columnPeriod));
    return wave::WithRounding([&](auto convert) {
      constexpr bool kConvert = decltype(convert)::value;
      if (!tinted_)
        return DrawReflection<false, false, kConvert>(rowSwing, colSwing, canvas, checkpoint);
      return clearBack_
                 ? DrawReflection<true, true, kConvert>(rowSwing, colSwing, canvas, checkpoint)
                 : DrawReflection<true, false, kConvert>(rowSwing, colSwing, canvas, checkpoint);
    });
  }

 private:
  // kKeepOpacity: the pixels carry transparency, which the tint leaves as it is (and a clear
  // pixel clear).
  template <bool kTinted, bool kKeepOpacity, bool kConvert>
  bool DrawReflection(const std::vector<double>& rowSwing, const std::vector<double>& colSwing,
                      FrameRows& canvas, Checkpoint& checkpoint) const {
    // Locals for everything the inner loop reads: stores to the canvas could otherwise alias
    // the sizes and force them to be read again for every pixel.
    const int w = in_.sourceWidth;
    const int h = in_.sourceHeight;
    const std::uint32_t* work = in_.work->Row(0);
    const std::ptrdiff_t stride = in_.work->width();
    const double* swingX = colSwing.data();
    const auto& reflect = reflect_;
    return DrawRowsPaced(canvas, checkpoint, h, Pace::ByRows(), [&](int y) {
      const double swing = rowSwing[y];
      const double yd = y;
      std::uint32_t* dst = canvas.Row(2 * h - y - 1);
      for (int x = 0; x < w; ++x) {
        int sx = wave::RoundNearest<kConvert>(swing + x);
        int sy = wave::RoundNearest<kConvert>(swingX[x] + yd);
        if (static_cast<unsigned>(sx) >= static_cast<unsigned>(w) ||
            static_cast<unsigned>(sy) >= static_cast<unsigned>(h)) {
          sx = x;
          sy = y;
        }
        const std::uint32_t c = work[sy * stride + sx];
        // Without the tint a work pixel passes unchanged.
        if constexpr (!kTinted) {
          dst[x] = c;
        } else if constexpr (!kKeepOpacity) {
          dst[x] =
              reflect[0][c & 0xFF] | reflect[1][(c >> 8) & 0xFF] | reflect[2][(c >> 16) & 0xFF];
        } else {
          const std::uint32_t top = c & 0xFF000000u;
          dst[x] = top == 0xFF000000u ? c
                                      : reflect[0][c & 0xFF] | reflect[1][(c >> 8) & 0xFF] |
                                            reflect[2][(c >> 16) & 0xFF] | top;
        }
      }
    });
  }

  const bool tinted_;
  std::uint32_t reflect_[3][256];
};

}  // namespace

std::unique_ptr<Renderer> MakeWater(const RenderInput& in) { return std::make_unique<Water>(in); }

}  // namespace kinetta::render

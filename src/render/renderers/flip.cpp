// Front/back flip: a card whose front face is the upper half of the picture and whose back face
// is the lower half turns over once about its horizontal centre line. With the switch on it is
// drawn in perspective and shaded by its angle.
#include "render/renderers/flip.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "render/geometry.h"
#include "render/motions.h"
#include "render/renderers/wave.h"

namespace kinetta::render {

namespace flip {

// The perspective places column x at the fractional canvas position L + x. It is drawn at
// canvas column floor(L) + x, which equals floor(L + x): L = W x 0.05 has a fractional part of
// at most 0.95, so adding a whole x never crosses the next whole column. Every column moves by
// the same shift, with no gaps and no doubled columns.
Geometry MakeGeometry(int w, int h, bool shaded) {
  Geometry g{};
  g.columns = RoundHalfEven(w * 1.1);
  g.faceHeight = RoundHalfEven(h / 2.0);
  g.axis = g.faceHeight / 2.0;
  g.margin = shaded ? w * 0.05 : 0;
  g.marginColumn = static_cast<int>(std::floor(g.margin));
  g.canvasWidth = shaded ? g.columns : w;
  return g;
}

FrameSize Size(const Settings& s, int w, int h) {
  const Geometry g = MakeGeometry(w, h, s.Shade3D == 1);
  return {g.canvasWidth, g.faceHeight};
}

Turn MakeTurn(int k, int n, const Geometry& g, bool shaded) {
  Turn t{};
  t.theta = wave::Phase(k, n);
  // A frame whose angle is exactly 3.14159 still shows the front face.
  t.face = t.theta > kPi ? g.faceHeight : 0;
  t.shift = shaded ? RoundHalfEven(std::cos(t.theta) * g.margin) : 0;
  t.halfHeight = RoundHalfEven(std::sin(t.theta) * g.axis);
  t.shade = RoundHalfEven(std::cos(t.theta) * 5);
  if (t.theta > kPi) t.shade = -t.shade;
  return t;
}

RowSource SourceRow(int y, const Turn& t, const Geometry& g) {
  const double r = g.axis;
  const double yd = y;
  RowSource row{};
  if (t.halfHeight == 0) {
    // Edge-on: only the row on the axis shows, and only when the axis is a whole row.
    row.sy = yd == r ? r + t.face : -1;
  } else {
    row.sy = r + ((yd - r) / std::abs(t.halfHeight)) * r + t.face;
  }
  row.d = (r - yd) * t.shift / r;
  if (t.face > 0) row.d = -row.d;
  return row;
}

bool RowOnFace(const RowSource& row, const Turn& t, const Geometry& g) {
  return t.face <= row.sy && row.sy < t.face + g.faceHeight;
}

double SourceColumn(int x, double d, int w) { return d + x * (w - 2 * d) / w; }

int Shade(int c, int x) {
  if (x > 0) return RoundHalfEven((15 * c) / static_cast<double>(x + 15));
  const int y = std::abs(x);
  return RoundHalfEven((15 * c + 255 * y) / static_cast<double>(y + 15));
}

}  // namespace flip

namespace {

class Flip final : public RendererSizedBy<&flip::Size> {
 public:
  explicit Flip(const RenderInput& in)
      : RendererSizedBy(in),
        shaded_(in.settings.Shade3D == 1),
        g_(flip::MakeGeometry(in.sourceWidth, in.sourceHeight, shaded_)),
        back_(Background()),
        // Writes past the canvas's right edge are dropped, so the loop stops there.
        drawnColumns_(std::min(g_.columns, g_.canvasWidth - g_.marginColumn)) {}

  bool DrawRows(int k, FrameRows& canvas, Checkpoint& checkpoint) const override {
    const int w = in_.sourceWidth;
    const flip::Turn t = flip::MakeTurn(k, in_.settings.FrameCount, g_, shaded_);
    // The face shading depends only on the angle: one table per component for the frame.
    std::uint32_t shade[3][256];
    for (int c = 0; c < 256; ++c) {
      const int v = shaded_ ? std::clamp(flip::Shade(c, t.shade), 0, 255) : c;
      for (int p = 0; p < 3; ++p) shade[p][c] = static_cast<std::uint32_t>(v) << (8 * p);
    }
    const std::uint32_t outside = PastPicture(ShadeOutside(t.shade));
    const bool shaded = shaded_;
    const bool clear = clearBack_;

    // Locals for everything the inner loop reads: stores to the canvas could otherwise alias
    // the sizes and force them to be read again for every pixel.
    const int rows = g_.faceHeight;
    const int canvasWidth = g_.canvasWidth;
    const int columns = drawnColumns_;
    const int margin = g_.marginColumn;
    const std::uint32_t back = back_;
    return DrawRowsPaced(canvas, checkpoint, rows, Pace::ByRows(), [&](int y) {
      std::uint32_t* dst = canvas.Row(y);
      std::fill(dst, dst + canvasWidth, back);
      const flip::RowSource row = flip::SourceRow(y, t, g_);
      if (!flip::RowOnFace(row, t, g_)) return;
      const int sy = static_cast<int>(std::floor(row.sy));
      // The last back-face row lies below the work picture when H / 2 rounds up: it reads -1.
      const std::uint32_t* src = sy < in_.work->height() ? in_.work->Row(sy) : nullptr;
      const double d = row.d;
      const double span = w - 2 * d;
      std::uint32_t* out = dst + margin;
      for (int x = 0; x < columns; ++x) {
        const double sx = d + x * span / w;
        if (!(sx >= 0 && sx < w)) continue;
        if (!src) {
          out[x] = outside;
        } else {
          const std::uint32_t c = src[static_cast<int>(sx)];  // sx >= 0: truncation is floor
          if (!shaded) {
            out[x] = c;
          } else if (!clear) {
            out[x] = shade[0][c & 0xFF] | shade[1][(c >> 8) & 0xFF] | shade[2][(c >> 16) & 0xFF];
          } else {
            // The shade changes the colour; the transparency stays, and clear stays clear.
            const std::uint32_t top = c & 0xFF000000u;
            out[x] = top == 0xFF000000u ? c
                                        : shade[0][c & 0xFF] | shade[1][(c >> 8) & 0xFF] |
                                              shade[2][(c >> 16) & 0xFF] | top;
          }
        }
      }
    });
  }

 private:
  // A read outside the work picture splits into red -1, green 0, blue 0.
  std::uint32_t ShadeOutside(int x) const {
    Rgb p = SplitColour(kOutside);
    if (shaded_) p = {flip::Shade(p.r, x), flip::Shade(p.g, x), flip::Shade(p.b, x)};
    return PackClamped(p.r, p.g, p.b);
  }

  const bool shaded_;
  const flip::Geometry g_;
  const std::uint32_t back_;
  const int drawnColumns_;
};

}  // namespace

std::unique_ptr<Renderer> MakeFlip(const RenderInput& in) { return std::make_unique<Flip>(in); }

}  // namespace kinetta::render

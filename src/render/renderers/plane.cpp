// Plane: the picture slides to the left as an endless band, one FrameCount-th of its width per
// frame, with a raised bevel when the switch is on.
#include "render/renderers/plane.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "render/geometry.h"
#include "render/motions.h"
#include "render/renderers/light_levels.h"

namespace kinetta::render {

namespace plane {

FrameSize Size(const Settings& s, int w, int h) { return {OutputWidth(s, w, h), h}; }

double TableBytes(const Settings&, int, int h) { return std::max(0, h) * 96.0; }

int BevelWidth(int outW, int height) {
  return RoundHalfEven(static_cast<double>(std::min(outW, height)) / 10 + 1);
}

Band BevelBand(int x, int y, int outW, int height, int b) {
  if (x >= b && y >= b) {
    return (y > height - b || x > outW - b) ? Band::Shadow : Band::Inner;
  }
  const bool shadow = (y < b && x > outW - y) || (x < b && y > height - x);
  return shadow ? Band::Shadow : Band::Light;
}

}  // namespace plane

namespace {

// A run of columns [begin, end) of one row that lies in one bevel band.
struct Span {
  int begin, end;
  plane::Band band;
};

class Plane final : public RendererSizedBy<&plane::Size> {
 public:
  explicit Plane(const RenderInput& in)
      : RendererSizedBy(in),
        // Level 0 the light, two thirds of the way to white; level 1 the shadow, halved.
        bands_(TabulateLightLevels(1, [](int c, int level) {
          return level == 0 ? RoundHalfEven(static_cast<double>(c + 510) / 3)
                            : RoundHalfEven(static_cast<double>(c) / 2);
        })) {
    BuildSpans(in.settings.Shade3D == 1);
  }

  bool DrawRows(int k, FrameRows& canvas, Checkpoint& checkpoint) const override {
    const int s = SlideOffset(in_.sourceWidth, in_.settings.FrameCount, k);
    // Columns from here on read past the band.
    const int inside = std::clamp(kBandCopies * in_.sourceWidth - s, 0, outW_);
    // Row by row, band by band, with the checkpoint's calls spread over the rows.
    return DrawRowsPaced(canvas, checkpoint, height_, Pace::ByColumns(outW_), [&](int y) {
      const std::uint32_t* src = in_.work->Row(y);
      std::uint32_t* dst = canvas.Row(y);
      for (const Span& span : spans_[static_cast<std::size_t>(y)]) {
        DrawSpan(span.band, src, s, dst, span.begin, span.end, inside);
      }
    });
  }

 private:
  // Canvas columns [b, e) of one row from source row `src` slid by `s`: column x shows band
  // column s + x, read from the source in runs that end where the band starts a new copy.
  void DrawSpan(plane::Band band, const std::uint32_t* src, int s, std::uint32_t* dst, int b, int e,
                int inside) const {
    const int w = in_.sourceWidth;
    const int m = std::clamp(inside, b, e);
    const LightLevel* level =
        band == plane::Band::Inner ? nullptr : &bands_[band == plane::Band::Light ? 0 : 1];
    for (int x = b, sx = b < m ? BandColumn(s + b, w) : 0; x < m; sx = 0) {
      const int n = std::min(m - x, w - sx);
      if (level && clearBack_) {
        for (int i = 0; i < n; ++i) dst[x + i] = level->ApplyKeepingOpacity(src[sx + i]);
      } else if (level) {
        for (int i = 0; i < n; ++i) dst[x + i] = level->Apply(src[sx + i]);
      } else {
        std::copy(src + sx, src + sx + n, dst + x);
      }
      x += n;
    }
    // A read past the band is -1: red -1, green 0, blue 0, which clamps to black.
    std::fill(dst + m, dst + e, PastPicture(level ? level->outside : PackClamped(-1, 0, 0)));
  }

  // The bands of each row as runs of columns; without the bevel every pixel is inner.
  void BuildSpans(bool shaded) {
    const int bevel = plane::BevelWidth(outW_, height_);
    spans_.resize(static_cast<std::size_t>(std::max(height_, 0)));
    for (int y = 0; y < height_; ++y) {
      if (PreparingStopped(in_, y)) return;
      std::vector<Span>& row = spans_[static_cast<std::size_t>(y)];
      for (int x = 0; x < outW_; ++x) {
        const plane::Band band =
            shaded ? plane::BevelBand(x, y, outW_, height_, bevel) : plane::Band::Inner;
        if (row.empty() || row.back().band != band) {
          row.push_back({x, x + 1, band});
        } else {
          row.back().end = x + 1;
        }
      }
    }
  }

  const int outW_ = Size().width;
  const int height_ = Size().height;
  const std::vector<LightLevel> bands_;
  std::vector<std::vector<Span>> spans_;
};

}  // namespace

std::unique_ptr<Renderer> MakePlane(const RenderInput& in) { return std::make_unique<Plane>(in); }

}  // namespace kinetta::render

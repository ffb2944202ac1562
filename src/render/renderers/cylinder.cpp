// Cylinder: the picture wraps round an upright drum that fills the frame and turns about its
// axis, with a vertical band of light near the left edge when the switch is on.
#include "render/renderers/cylinder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "render/geometry.h"
#include "render/motions.h"
#include "render/renderers/light_levels.h"

namespace kinetta::render {

namespace cylinder {

FrameSize Size(const Settings& s, int w, int h) { return {std::max(0, OutputWidth(s, w, h)), h}; }

double TableBytes(const Settings& s, int w, int h) { return Size(s, w, h).width * 8.0; }

int SourceColumn(int x, int outW) {
  const double halfW = outW / 2.0;
  const double q = outW * kPi / 2;
  const int l = RoundHalfEven(x - halfW);
  const double a = ArcCos(l / halfW);
  return static_cast<int>(std::floor((kPi - a) * q / kPi));
}

int ShadeLevel(int x, int outW) {
  const int hx = RoundHalfEven(outW * 0.1);
  return RoundHalfEven(Distan1(x, hx, outW) / 5.0);
}

int ShadeComponent(int c, int v) { return SpotShade(c, v, 10, 10); }

}  // namespace cylinder

namespace {

class Cylinder final : public RendererSizedBy<&cylinder::Size> {
 public:
  explicit Cylinder(const RenderInput& in)
      : RendererSizedBy(in), shaded_(in.settings.Shade3D == 1) {
    BuildColumns();
  }

  // Every pixel is written in every frame, row by row, with the checkpoint's calls (one per 32
  // columns) spread over the rows.
  bool DrawRows(int k, FrameRows& canvas, Checkpoint& checkpoint) const override {
    const int s = SlideOffset(in_.sourceWidth, in_.settings.FrameCount, k);
    const int bandW = kBandCopies * in_.sourceWidth;
    std::vector<int> column(static_cast<std::size_t>(outW_));
    std::vector<const LightLevel*> light(column.size());
    bool allInside = true;
    for (int x = 0; x < outW_; ++x) {
      const int sx = base_[x] + s;
      const bool inside = sx >= 0 && sx < bandW;
      column[x] = inside ? BandColumn(sx, in_.sourceWidth) : -1;  // -1: past the band
      allInside = allInside && inside;
      light[x] = &levels_[level_[x]];
    }
    return DrawRowsPaced(canvas, checkpoint, height_, Pace::ByColumns(outW_), [&](int y) {
      const std::uint32_t* src = in_.work->Row(y);
      std::uint32_t* dst = canvas.Row(y);
      if (!allInside || (shaded_ && clearBack_)) {
        for (int x = 0; x < outW_; ++x) {
          const int sx = column[x];
          dst[x] = sx < 0       ? PastPicture(light[x]->outside)
                   : !shaded_   ? src[sx]
                   : clearBack_ ? light[x]->ApplyKeepingOpacity(src[sx])
                                : light[x]->Apply(src[sx]);
        }
      } else if (shaded_) {
        for (int x = 0; x < outW_; ++x) dst[x] = light[x]->Apply(src[column[x]]);
      } else {
        for (int x = 0; x < outW_; ++x) dst[x] = src[column[x]];
      }
    });
  }

 private:
  // Nothing about a column but the slide changes from row to row or frame to frame: its source
  // column before the slide and its light level.
  void BuildColumns() {
    level_.assign(static_cast<std::size_t>(outW_), 0);
    int maxLevel = 0;
    for (int x = 0; x < outW_; ++x) {
      if (PreparingStopped(in_, x)) return;
      base_.push_back(cylinder::SourceColumn(x, outW_));
      if (shaded_) level_[x] = cylinder::ShadeLevel(x, outW_);
      maxLevel = std::max(maxLevel, level_[x]);
    }
    // Without the light one level that changes nothing serves for reads past the band.
    levels_ = shaded_ ? TabulateLightLevels(maxLevel, cylinder::ShadeComponent)
                      : TabulateLightLevels(0, [](int c, int) { return c; });
  }

  const int outW_ = Size().width;
  const int height_ = Size().height;
  const bool shaded_;
  std::vector<int> base_;
  std::vector<int> level_;
  std::vector<LightLevel> levels_;
};

}  // namespace

std::unique_ptr<Renderer> MakeCylinder(const RenderInput& in) {
  return std::make_unique<Cylinder>(in);
}

}  // namespace kinetta::render

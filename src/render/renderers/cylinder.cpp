// Cylinder: the picture wraps round an upright drum that fills the frame and turns about its
// axis, with a vertical band of light near the left edge when the switch is on.
#include "render/renderers/cylinder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "render/geometry.h"
#include "render/motions.h"

namespace kinetta::render {

namespace cylinder {

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

int ShadeComponent(int c, int v) {
  if (v > 10) return RoundHalfEven(static_cast<double>(c * 10) / v);
  if (v < 8) return BlendTowardsWhite(c, v);
  return c;
}

}  // namespace cylinder

namespace {

class Cylinder final : public Renderer {
 public:
  explicit Cylinder(const RenderInput& in)
      : Renderer(in),
        outW_(std::max(0, OutputWidth(in.settings, in.sourceWidth, in.sourceHeight))),
        height_(in.sourceHeight),
        shaded_(in.settings.Shade3D == 1) {
    BuildColumns();
  }

  FrameSize Size() const override { return {outW_, height_}; }

  // Every pixel is written in every frame. Columns are the outer loop, with a checkpoint every
  // 32 columns; within a block the pixels are visited row by row.
  bool DrawFrame(int k, Surface& canvas, Checkpoint& checkpoint) override {
    const int s = SlideOffset(in_.sourceWidth, in_.settings.FrameCount, k);
    const int workW = in_.work.width();
    std::vector<int> column(static_cast<std::size_t>(outW_));
    for (int x = 0; x < outW_; ++x) {
      const int sx = base_[x] + s;
      column[x] = sx >= 0 && sx < workW ? sx : -1;  // -1: past the work picture
    }
    for (int x0 = 0; x0 < outW_; x0 += 32) {
      if (checkpoint.Step()) return false;
      const int x1 = std::min(outW_, x0 + 32);
      for (int y = 0; y < height_; ++y) {
        const std::uint32_t* src = in_.work.Row(y);
        std::uint32_t* dst = canvas.Row(y);
        for (int x = x0; x < x1; ++x) {
          const int sx = column[x];
          if (sx < 0) {
            dst[x] = outside_[x];
          } else if (!shaded_) {
            dst[x] = src[sx];
          } else {
            const LevelTable& t = tables_[level_[x]];
            const std::uint32_t c = src[sx];
            dst[x] = t[c & 0xFF] | (t[(c >> 8) & 0xFF] << 8) | (t[c >> 16] << 16);
          }
        }
      }
    }
    return true;
  }

 private:
  using LevelTable = std::array<std::uint32_t, 256>;

  // Nothing about a column but the slide changes from row to row or frame to frame: its source
  // column before the slide, its light level and what a read past the work picture becomes.
  void BuildColumns() {
    level_.assign(static_cast<std::size_t>(outW_), 0);
    int maxLevel = 0;
    for (int x = 0; x < outW_; ++x) {
      base_.push_back(cylinder::SourceColumn(x, outW_));
      if (shaded_) level_[x] = cylinder::ShadeLevel(x, outW_);
      maxLevel = std::max(maxLevel, level_[x]);
    }
    tables_.resize(static_cast<std::size_t>(maxLevel) + 1);
    for (int v = 0; v <= maxLevel; ++v) {
      for (int c = 0; c < 256; ++c) {
        tables_[v][c] = static_cast<std::uint32_t>(
            std::clamp(shaded_ ? cylinder::ShadeComponent(c, v) : c, 0, 255));
      }
    }
    for (int x = 0; x < outW_; ++x) {
      // A read past the work picture is red -1, green 0, blue 0 before the shading.
      const int v = level_[x];
      outside_.push_back(shaded_ ? PackClamped(cylinder::ShadeComponent(-1, v),
                                               cylinder::ShadeComponent(0, v),
                                               cylinder::ShadeComponent(0, v))
                                 : PackClamped(-1, 0, 0));
    }
  }

  const int outW_;
  const int height_;
  const bool shaded_;
  std::vector<int> base_;
  std::vector<LevelTable> tables_;
  std::vector<int> level_;
  std::vector<std::uint32_t> outside_;
};

}  // namespace

std::unique_ptr<Renderer> MakeCylinder(const RenderInput& in) {
  return std::make_unique<Cylinder>(in);
}

}  // namespace kinetta::render

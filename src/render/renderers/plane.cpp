// Plane: the picture slides to the left as an endless band, one FrameCount-th of its width per
// frame, with a raised bevel when the switch is on.
#include "render/renderers/plane.h"

#include <algorithm>
#include <memory>

#include "render/geometry.h"
#include "render/motions.h"

namespace kinetta::render {

namespace plane {

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

class Plane final : public Renderer {
 public:
  explicit Plane(const RenderInput& in)
      : Renderer(in),
        outW_(OutputWidth(in.settings, in.sourceWidth, in.sourceHeight)),
        height_(in.sourceHeight),
        bevel_(plane::BevelWidth(outW_, height_)),
        shaded_(in.settings.Shade3D == 1) {
    Tabulate(light_, [](int c) { return RoundHalfEven(static_cast<double>(c + 510) / 3); });
    Tabulate(shadow_, [](int c) { return RoundHalfEven(static_cast<double>(c) / 2); });
  }

  FrameSize Size() const override { return {outW_, height_}; }

  bool DrawFrame(int k, Surface& canvas, Checkpoint& checkpoint) override {
    const int s = SlideOffset(in_.sourceWidth, in_.settings.FrameCount, k);
    const int workW = in_.work.width();
    // Columns are the outer loop, with a checkpoint every 32 columns; within each block of 32
    // columns the pixels are visited row by row, which gives the same pixels faster.
    for (int x0 = 0; x0 < outW_; x0 += 32) {
      if (checkpoint.Step()) return false;
      const int x1 = std::min(outW_, x0 + 32);
      for (int y = 0; y < height_; ++y) {
        const std::uint32_t* src = in_.work.Row(y);
        std::uint32_t* dst = canvas.Row(y);
        for (int x = x0; x < x1; ++x) {
          const int sx = s + x;
          const Colour c = sx < workW ? static_cast<Colour>(src[sx]) : kOutside;
          dst[x] = Shade(c, x, y);
        }
      }
    }
    return true;
  }

 private:
  std::uint32_t Shade(Colour c, int x, int y) const {
    Rgb p = SplitColour(c);
    if (shaded_) {
      switch (plane::BevelBand(x, y, outW_, height_, bevel_)) {
        case plane::Band::Inner: break;
        case plane::Band::Light: p = {Light(p.r), Light(p.g), Light(p.b)}; break;
        case plane::Band::Shadow: p = {Shadow(p.r), Shadow(p.g), Shadow(p.b)}; break;
      }
    }
    return PackClamped(p.r, p.g, p.b);
  }
  // Components are 0..255 except the -1 red of a read past the work picture.
  int Light(int c) const { return c >= 0 ? light_[c] : RoundHalfEven((c + 510) / 3.0); }
  int Shadow(int c) const { return c >= 0 ? shadow_[c] : RoundHalfEven(c / 2.0); }

  const int outW_;
  const int height_;
  const int bevel_;
  const bool shaded_;
  int light_[256];
  int shadow_[256];
};

}  // namespace

std::unique_ptr<Renderer> MakePlane(const RenderInput& in) { return std::make_unique<Plane>(in); }

}  // namespace kinetta::render

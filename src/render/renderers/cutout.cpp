// Cut-out: the upper half of the picture slides to the left behind a fixed stencil, the lower
// half, wrapping round once in FrameCount frames. The stencil keeps the picture where it is
// white, cuts it away where it is black (shown in the background colour when that is not
// black) and filters it bit by bit elsewhere. This motion never stops for the abort button.
#include "render/renderers/cutout.h"

#include <memory>
#include <vector>

#include "render/geometry.h"
#include "render/motions.h"

namespace kinetta::render {

namespace cutout {

int FrameHeight(int h) { return RoundHalfEven(h / 2.0); }

Colour Combine(Colour picture, Colour mask, Colour backColor) {
  if (mask == 0 && backColor != 0) return backColor & 0xFFFFFF;
  return (picture & mask) & 0xFFFFFF;
}

}  // namespace cutout

namespace {

// When H / 2 rounds up (H = 3, 7, 11, ...) the last mask row lies one row below the work
// picture. There the mask is taken as a read outside the picture: -1, every bit set, so the AND
// keeps the picture, and since it is not 0 it is never repainted in the background colour.
class Cutout final : public Renderer {
 public:
  explicit Cutout(const RenderInput& in)
      : Renderer(in), height_(cutout::FrameHeight(in.sourceHeight)) {
    const int w = in.sourceWidth;
    const std::size_t size = static_cast<std::size_t>(w) * static_cast<std::size_t>(height_);
    and_.resize(size);
    or_.resize(size);
    // Per mask pixel, once per run: the bits the AND keeps, and the background colour where the
    // cut-away pass repaints. (src & 0) | back is back, so one pass gives both block copies and
    // the repaint.
    const Colour back = in.settings.BackColor;
    for (int y = 0; y < height_; ++y) {
      if (PreparingStopped(in, y)) return;
      for (int x = 0; x < w; ++x) {
        const Colour mask = in.work->Point(x, height_ + y);
        const std::size_t i = static_cast<std::size_t>(y) * w + x;
        and_[i] = static_cast<std::uint32_t>(mask) & 0xFFFFFFu;
        or_[i] = static_cast<std::uint32_t>(cutout::Combine(0, mask, back));
      }
    }
  }

  FrameSize Size() const override { return {in_.sourceWidth, height_}; }

  // No checkpoint: every frame is drawn to its end.
  bool DrawFrame(int k, Surface& canvas, Checkpoint&) const override {
    const int w = in_.sourceWidth;
    // The work picture holds the source twice side by side, so columns M..M + W - 1 continue
    // with the source's own columns 0..M - 1 past W (M < W for every frame).
    const int m = SlideOffset(w, in_.settings.FrameCount, k);
    for (int y = 0; y < height_; ++y) {
      const std::uint32_t* src = in_.work->Row(y) + m;
      const std::uint32_t* keep = and_.data() + static_cast<std::size_t>(y) * w;
      const std::uint32_t* paint = or_.data() + static_cast<std::size_t>(y) * w;
      std::uint32_t* dst = canvas.Row(y);
      for (int x = 0; x < w; ++x) dst[x] = (src[x] & keep[x]) | paint[x];
    }
    return true;
  }

 private:
  const int height_;  // HH
  std::vector<std::uint32_t> and_;
  std::vector<std::uint32_t> or_;
};

}  // namespace

std::unique_ptr<Renderer> MakeCutout(const RenderInput& in) { return std::make_unique<Cutout>(in); }

}  // namespace kinetta::render

// Cut-out: the upper half of the picture slides to the left behind a fixed stencil, the lower
// half, wrapping round once in FrameCount frames. The stencil keeps the picture where it is
// white, cuts it away where it is black (shown in the background colour when that is not
// black) and filters it bit by bit elsewhere. This motion never stops for the abort button.
#include "render/renderers/cutout.h"

#include <cstdint>
#include <memory>

#include "render/geometry.h"
#include "render/motions.h"
#include "render/transparency.h"

namespace kinetta::render {

namespace cutout {

int FrameHeight(int h) { return RoundHalfEven(h / 2.0); }

FrameSize Size(const Settings&, int w, int h) { return {w, FrameHeight(h)}; }

Colour Combine(Colour picture, Colour mask, Colour backColor) {
  if (mask == 0 && backColor != 0) return backColor & 0xFFFFFF;
  return (picture & mask) & 0xFFFFFF;
}

Colour CombineKeepingOpacity(Colour picture, Colour mask) {
  if (mask == 0) return kClear;
  const int a = OpacityOf(picture) * OpacityOf(mask);
  return WithOpacity(picture & mask, (a + 127) / 255);
}

}  // namespace cutout

namespace {

// When H / 2 rounds up (H = 3, 7, 11, ...) the last mask row lies one row below the picture.
// There the mask is taken as a read outside the picture: -1, every bit set, so the AND keeps the
// picture, and since it is not 0 it is never repainted in the background colour.
class Cutout final : public RendererSizedBy<&cutout::Size> {
 public:
  explicit Cutout(const RenderInput& in)
      : RendererSizedBy(in),
        // (src & 0) | paint is the background where the stencil is black; Combine(0, mask, back)
        // for a black mask, 0 for any other.
        paint_(static_cast<std::uint32_t>(cutout::Combine(0, 0, in.settings.BackColor))) {}

  // No checkpoint: every frame is drawn to its end.
  bool DrawRows(int k, FrameRows& canvas, Checkpoint& checkpoint) const override {
    const int w = in_.sourceWidth;
    // The band is the source twice side by side: canvas columns 0..W - M - 1 show source
    // columns M..W - 1, and the rest continue with the source's own columns 0..M - 1
    // (0 <= M <= W).
    const int m = SlideOffset(w, in_.settings.FrameCount, k);
    const int first = w - m;
    return DrawRowsPaced(canvas, checkpoint, height_, Pace::Never(), [&](int y) {
      const std::uint32_t* src = in_.work->Row(y);
      const int maskRow = height_ + y;
      const std::uint32_t* mask = maskRow < in_.sourceHeight ? in_.work->Row(maskRow) : nullptr;
      std::uint32_t* dst = canvas.Row(y);
      DrawRun(src + m, mask, dst, first);
      DrawRun(src, mask ? mask + first : nullptr, dst + first, m);
    });
  }

 private:
  // n pixels of the picture through the stencil; no stencil row keeps them as they are.
  void DrawRun(const std::uint32_t* src, const std::uint32_t* mask, std::uint32_t* dst,
               int n) const {
    if (clearBack_) {
      for (int x = 0; x < n; ++x) {
        dst[x] = mask == nullptr ? src[x]
                                 : static_cast<std::uint32_t>(cutout::CombineKeepingOpacity(
                                       static_cast<Colour>(src[x]), static_cast<Colour>(mask[x])));
      }
      return;
    }
    if (mask == nullptr) {
      for (int x = 0; x < n; ++x) dst[x] = src[x] & 0xFFFFFFu;
      return;
    }
    for (int x = 0; x < n; ++x) {
      dst[x] = (src[x] & mask[x] & 0xFFFFFFu) | (mask[x] == 0 ? paint_ : 0u);
    }
  }

  const int height_ = Size().height;  // HH
  const std::uint32_t paint_;
};

}  // namespace

std::unique_ptr<Renderer> MakeCutout(const RenderInput& in) { return std::make_unique<Cutout>(in); }

}  // namespace kinetta::render

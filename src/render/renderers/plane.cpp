// Plane: the picture slides to the left as an endless band, one FrameCount-th of its width per
// frame, with a raised bevel when the switch is on.
#include "render/renderers/plane.h"

#include <algorithm>
#include <memory>
#include <vector>

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

// A per-component table applied to a whole stored pixel: out = red[r] | green[g] | blue[b].
struct PixelTable {
  std::uint32_t red[256], green[256], blue[256];
  template <typename F>
  explicit PixelTable(F f) {
    for (int c = 0; c < 256; ++c) {
      const std::uint32_t v = static_cast<std::uint32_t>(std::clamp(f(c), 0, 255));
      red[c] = v;
      green[c] = v << 8;
      blue[c] = v << 16;
    }
  }
  std::uint32_t operator()(std::uint32_t c) const {
    return red[c & 0xFF] | green[(c >> 8) & 0xFF] | blue[c >> 16];
  }
};

// A run of columns [begin, end) of one row that lies in one bevel band.
struct Span {
  int begin, end;
  plane::Band band;
};

class Plane final : public Renderer {
 public:
  explicit Plane(const RenderInput& in)
      : Renderer(in),
        outW_(OutputWidth(in.settings, in.sourceWidth, in.sourceHeight)),
        height_(in.sourceHeight),
        light_([](int c) { return RoundHalfEven(static_cast<double>(c + 510) / 3); }),
        shadow_([](int c) { return RoundHalfEven(static_cast<double>(c) / 2); }) {
    // A read past the work picture is -1: red -1, green 0, blue 0, clamped after shading.
    const Rgb outside = SplitColour(kOutside);
    auto light = [](int c) { return RoundHalfEven(static_cast<double>(c + 510) / 3); };
    auto shadow = [](int c) { return RoundHalfEven(static_cast<double>(c) / 2); };
    outsideLight_ = PackClamped(light(outside.r), light(outside.g), light(outside.b));
    outsideShadow_ = PackClamped(shadow(outside.r), shadow(outside.g), shadow(outside.b));
    outsidePlain_ = PackClamped(outside.r, outside.g, outside.b);
    BuildSpans(in.settings.Shade3D == 1);
  }

  FrameSize Size() const override { return {outW_, height_}; }

  bool DrawFrame(int k, Surface& canvas, Checkpoint& checkpoint) override {
    const int s = SlideOffset(in_.sourceWidth, in_.settings.FrameCount, k);
    // Columns from here on read past the work picture.
    const int inside = std::clamp(in_.work.width() - s, 0, outW_);
    // Columns are the outer loop, with a checkpoint every 32 columns; within each block of 32
    // columns the pixels are visited row by row, band by band, which gives the same pixels.
    for (int x0 = 0; x0 < outW_; x0 += 32) {
      if (checkpoint.Step()) return false;
      const int x1 = std::min(outW_, x0 + 32);
      for (int y = 0; y < height_; ++y) {
        const std::uint32_t* src = in_.work.Row(y) + s;
        std::uint32_t* dst = canvas.Row(y);
        for (const Span& span : spans_[static_cast<std::size_t>(y)]) {
          const int b = std::max(span.begin, x0), e = std::min(span.end, x1);
          if (b < e) DrawSpan(span.band, src, dst, b, e, inside);
        }
      }
    }
    return true;
  }

 private:
  void DrawSpan(plane::Band band, const std::uint32_t* src, std::uint32_t* dst, int b, int e,
                int inside) const {
    const int m = std::clamp(inside, b, e);
    switch (band) {
      case plane::Band::Inner:
        std::copy(src + b, src + m, dst + b);
        std::fill(dst + m, dst + e, outsidePlain_);
        break;
      case plane::Band::Light:
        for (int x = b; x < m; ++x) dst[x] = light_(src[x]);
        std::fill(dst + m, dst + e, outsideLight_);
        break;
      case plane::Band::Shadow:
        for (int x = b; x < m; ++x) dst[x] = shadow_(src[x]);
        std::fill(dst + m, dst + e, outsideShadow_);
        break;
    }
  }

  // The bands of each row as runs of columns; without the bevel every pixel is inner.
  void BuildSpans(bool shaded) {
    const int bevel = plane::BevelWidth(outW_, height_);
    spans_.resize(static_cast<std::size_t>(std::max(height_, 0)));
    for (int y = 0; y < height_; ++y) {
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

  const int outW_;
  const int height_;
  const PixelTable light_;
  const PixelTable shadow_;
  std::uint32_t outsideLight_ = 0, outsideShadow_ = 0, outsidePlain_ = 0;
  std::vector<std::vector<Span>> spans_;
};

}  // namespace

std::unique_ptr<Renderer> MakePlane(const RenderInput& in) { return std::make_unique<Plane>(in); }

}  // namespace kinetta::render

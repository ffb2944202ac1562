// Sphere: the picture wraps round a ball turning about its vertical axis, each row laid round
// its slice's circle, with a light spot up and to the left when the switch is on.
#include "render/renderers/sphere.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "render/geometry.h"
#include "render/motions.h"
#include "render/renderers/light_levels.h"

namespace kinetta::render {

namespace sphere {

FrameSize Size(const Settings& s, int w, int h) { return {std::max(0, OutputWidth(s, w, h)), h}; }

double TableBytes(const Settings& s, int w, int h) {
  const FrameSize size = Size(s, w, h);
  const double fw = std::max(0, size.width), fh = std::max(0, size.height);
  // 4 bytes a slice pixel (rows below the ball have none); per row its entry and slice, and up
  // to 58 runs of 8 bytes.
  return fw * std::min(fh, fw + 1) * 4 + fh * (32 + 24 + 58 * 8);
}

Slice SliceOf(int outW, int y) {
  const double bigR = outW / 2.0;
  double r = SinFromCos((bigR - y) / bigR) * bigR;
  if (r == 0) r = 1;
  return {r, RoundHalfEven((outW - 2 * r) / 2), RoundHalfEven(2 * r - 1)};
}

int SourceOffset(const Slice& slice, int j) {
  const double r = slice.r;
  const double q = r * kPi / 2;
  double t = (j - r) / r;
  if (t > 1) t = 1;
  const double a = ArcCos(t);
  const double u = std::floor((kPi - a) * (2 * q) / kPi);
  return static_cast<int>(u) + slice.m;
}

int LightColumn(int outW) { return RoundHalfEven(outW * 0.25); }

int ShadeLevel(int x, int y, int outW) {
  const int hx = LightColumn(outW);
  const int hy = RoundHalfEven(outW * 0.3);
  return RoundHalfEven(Distan2(x, y, hx, hy, outW) / 5.0);
}

int ShadeComponent(int c, int v) { return SpotShade(c, v, 11, 12); }

}  // namespace sphere

namespace {

class Sphere final : public RendererSizedBy<&sphere::Size> {
 public:
  explicit Sphere(const RenderInput& in) : RendererSizedBy(in), shaded_(in.settings.Shade3D == 1) {
    if (outW_ > 0) BuildSlices();
  }

  // Only the slices are written, the same pixels in every frame, so the background that
  // StartRow laid stays round the sphere.
  bool DrawRows(int k, FrameRows& canvas, Checkpoint& checkpoint) const override {
    const int s = SlideOffset(in_.sourceWidth, in_.settings.FrameCount, k);
    const int w = in_.sourceWidth;
    const int bandW = kBandCopies * w;
    const auto rows = static_cast<int>(rows_.size());
    return DrawRowsPaced(canvas, checkpoint, rows, Pace::ByRows(), [&](int y) {
      const Row& row = rows_[y];
      const std::uint32_t* src = in_.work->Row(y);
      std::uint32_t* dst = canvas.Row(y) + row.x0;
      const std::int32_t* offset = offsets_.data() + row.offsets;
      const bool past = row.lowest + s < 0 || row.highest + s >= bandW;
      int i = 0;
      for (const LightRun& run : row.light) {
        const LightLevel& l = light_[run.level];
        if (past || (shaded_ && clearBack_)) {
          // Some reads fall past the band, or the light keeps the pixels' transparency apart.
          for (; i < run.end; ++i) {
            const int sx = offset[i] + s;
            if (sx < 0 || sx >= bandW) {
              dst[i] = PastPicture(l.outside);
            } else {
              const std::uint32_t c = src[BandColumn(sx, w)];
              dst[i] = !shaded_ ? c : clearBack_ ? l.ApplyKeepingOpacity(c) : l.Apply(c);
            }
          }
        } else if (shaded_) {
          for (; i < run.end; ++i) dst[i] = l.Apply(src[BandColumn(offset[i] + s, w)]);
        } else {
          for (; i < run.end; ++i) dst[i] = src[BandColumn(offset[i] + s, w)];
        }
      }
    });
  }

 private:
  // Pixels up to `end` (of the row's, from the last run's end) at one light level.
  struct LightRun {
    int end;
    int level;
  };

  struct Row {
    int x0;               // first canvas column written
    int count;            // pixels written
    int source;           // the row whose source columns it reads: itself, or its mirror row
    std::size_t offsets;  // where its source columns start
    int lowest, highest;  // the smallest and largest source column before the slide
    std::vector<LightRun> light;  // its light levels, run by run
  };

  // Everything but the slide is the same in every frame: per row the slice and the runs of
  // one light level, per pixel the source column before the slide. The rows' places in the tables
  // come first; the pixels are then worked out in parts of 32 rows on all cores. Rows y and OutW -
  // y lie on one circle of the ball: where their slices come out the same, the lower row reads the
  // upper one's source columns, worked out once (the light differs).
  void BuildSlices() {
    // Rows below the sphere (y > OutW, when the frame is taller than wide) have no slice and
    // keep the background.
    const int rows = std::min(height_, outW_ + 1);
    std::vector<sphere::Slice> slices;
    std::size_t columns = 0;
    for (int y = 0; y < rows; ++y) {
      const sphere::Slice slice = sphere::SliceOf(outW_, y);
      // Slice columns past the canvas edge (a rounding at the very narrowest frames) are
      // dropped, as a write outside the canvas is.
      const int j0 = std::max(0, -slice.m);
      const int j1 = std::min(slice.n, outW_ - 1 - slice.m);
      const int count = std::max(0, j1 - j0 + 1);
      const int mirror = outW_ - y;
      const bool shared = mirror >= 0 && mirror < y && slices[mirror].r == slice.r &&
                          slices[mirror].m == slice.m && slices[mirror].n == slice.n;
      if (shared) {
        rows_.push_back({slice.m + j0, count, mirror, rows_[mirror].offsets, 0, 0, {}});
      } else {
        rows_.push_back({slice.m + j0, count, y, columns, 0, 0, {}});
        columns += static_cast<std::size_t>(count);
      }
      slices.push_back(slice);
    }
    offsets_.resize(columns);
    const int parts = (rows + 31) / 32;
    std::vector<int> maxLevels(static_cast<std::size_t>(parts), 0);
    TableParts(in_, parts, [&](int part) {
      if (PreparingStopped(in_, part * 32)) return false;
      for (int y = part * 32; y < std::min(rows, part * 32 + 32); ++y) {
        maxLevels[static_cast<std::size_t>(part)] =
            std::max(maxLevels[static_cast<std::size_t>(part)], FillRow(y, slices[y]));
      }
      return true;
    });
    for (Row& row : rows_) {
      row.lowest = rows_[row.source].lowest;
      row.highest = rows_[row.source].highest;
    }
    const int maxLevel = parts > 0 ? *std::max_element(maxLevels.begin(), maxLevels.end()) : 0;
    // Without the light one level that changes nothing serves for reads past the band.
    light_ = shaded_ ? TabulateLightLevels(std::min(maxLevel, 255), sphere::ShadeComponent)
                     : TabulateLightLevels(0, [](int c, int) { return c; });
  }

  // Row y's runs of light levels and, unless it shares them, its source columns and their
  // range; returns the highest level of the row.
  int FillRow(int y, const sphere::Slice& slice) {
    Row& row = rows_[y];
    if (row.source == y) {
      const int j0 = row.x0 - slice.m;
      for (int i = 0; i < row.count; ++i) {
        const int offset = sphere::SourceOffset(slice, j0 + i);
        row.lowest = i == 0 ? offset : std::min(row.lowest, offset);
        row.highest = i == 0 ? offset : std::max(row.highest, offset);
        offsets_[row.offsets + static_cast<std::size_t>(i)] = offset;
      }
    }
    if (!shaded_) {
      row.light.push_back({row.count, 0});
      return 0;
    }
    // The level grows with the distance from the light spot's centre, so on either side of its
    // column each level covers one run of pixels: the run's end is found by bisection.
    const auto level = [&](int i) {
      return std::min(sphere::ShadeLevel(row.x0 + i, y, outW_), 255);
    };
    const int centre = std::clamp(sphere::LightColumn(outW_) - row.x0, 0, row.count);
    int maxLevel = 0;
    for (const auto& [begin, end] : {std::pair{0, centre}, std::pair{centre, row.count}}) {
      for (int i = begin; i < end;) {
        const int v = level(i);
        int last = i, past = end;  // level(last) == v; level(past) differs, or past == end
        while (past - last > 1) {
          const int mid = last + (past - last) / 2;
          (level(mid) == v ? last : past) = mid;
        }
        row.light.push_back({last + 1, v});
        maxLevel = std::max(maxLevel, v);
        i = last + 1;
      }
    }
    return maxLevel;
  }

  const int outW_ = Size().width;
  const int height_ = Size().height;
  const bool shaded_;
  std::vector<Row> rows_;
  // Sized unset: FillRow writes every entry, on the cores that make the table, so their pages
  // are first touched there and not cleared once more on one thread beforehand.
  std::vector<std::int32_t, PixelAllocator<std::int32_t>> offsets_;
  std::vector<LightLevel> light_;
};

}  // namespace

std::unique_ptr<Renderer> MakeSphere(const RenderInput& in) { return std::make_unique<Sphere>(in); }

}  // namespace kinetta::render

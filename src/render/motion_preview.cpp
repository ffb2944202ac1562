// The preview's sample of a run's frames, the run scaled to the preview box, the reduction of the
// picture and the drawn test picture.
#include "render/motion_preview.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "render/run_budget.h"
#include "render/transparency.h"

namespace kinetta::render {

std::vector<int> SampledFrames(int frameCount, int most) {
  std::vector<int> frames;
  if (frameCount < 1 || most < 1) return frames;
  const int shown = std::min(frameCount, most);
  for (int j = 0; j < shown; ++j) {
    frames.push_back(static_cast<int>(std::int64_t{j} * frameCount / shown));
  }
  return frames;
}

namespace {

// A side scaled down by `factor`, halves to the even neighbour as everywhere a real becomes a
// whole number, and at least one pixel.
int Reduced(int side, double factor) {
  return std::max(1, static_cast<int>(std::nearbyint(side * factor)));
}

}  // namespace

PreviewPlan PlanPreview(const Settings& s, int sourceWidth, int sourceHeight, int box, int most) {
  PreviewPlan plan;
  plan.settings = s;
  plan.frames = SampledFrames(s.FrameCount, most);
  const FrameSize full = PlannedFrameSize(s, sourceWidth, sourceHeight);
  const int longest = std::max(full.width, full.height);
  const double factor = longest > box ? static_cast<double>(box) / longest : 1.0;
  plan.sourceWidth = factor < 1 ? Reduced(sourceWidth, factor) : sourceWidth;
  plan.sourceHeight = factor < 1 ? Reduced(sourceHeight, factor) : sourceHeight;
  if (factor < 1 && s.WidthMode == 2) plan.settings.WidthValue = Reduced(s.WidthValue, factor);
  return plan;
}

namespace {

// Remembers whether the checkpoint asked to stop, so that a half-made copy is never kept.
class Remembering final : public Checkpoint {
 public:
  explicit Remembering(Checkpoint* inner) : inner_(inner) {}
  bool Step() override {
    stopped_ = stopped_ || (inner_ != nullptr && inner_->Step());
    return stopped_;
  }
  bool stopped() const { return stopped_; }

 private:
  Checkpoint* inner_;
  bool stopped_ = false;
};

// The first of the `from` source lines that line i of `to` covers.
int CoveredStart(int i, int from, int to) { return static_cast<int>(std::int64_t{i} * from / to); }

}  // namespace

Surface Reduce(const Surface& source, int width, int height, Checkpoint* checkpoint) {
  Surface out(width, height, 0);
  const int w = source.width(), h = source.height();
  if (out.empty() || source.empty()) return out;
  // Each output column covers the source columns [start, end), at least one.
  std::vector<int> start(static_cast<std::size_t>(width)), end(static_cast<std::size_t>(width));
  for (int x = 0; x < width; ++x) {
    start[x] = CoveredStart(x, w, width);
    end[x] = std::max(start[x] + 1, CoveredStart(x + 1, w, width));
  }
  // Per column the three components, then the transparency, then the components weighted by
  // opacity: pixels with transparency are averaged premultiplied, so a clear pixel's colour
  // counts for nothing; an opaque block is the plain mean.
  constexpr std::size_t kSums = 7;
  std::vector<std::uint64_t> sums(static_cast<std::size_t>(width) * kSums);
  for (int y = 0; y < height; ++y) {
    if (checkpoint != nullptr && checkpoint->Step()) break;
    const int y0 = CoveredStart(y, h, height);
    const int y1 = std::max(y0 + 1, CoveredStart(y + 1, h, height));
    std::fill(sums.begin(), sums.end(), 0);
    for (int sy = y0; sy < y1; ++sy) {
      const std::uint32_t* row = source.Row(sy);
      for (int x = 0; x < width; ++x) {
        std::uint64_t* sum = &sums[static_cast<std::size_t>(x) * kSums];
        for (int sx = start[x]; sx < end[x]; ++sx) {
          const std::uint32_t c = row[sx];
          const std::uint32_t a = 255 - (c >> 24);
          sum[0] += c & 0xFF;
          sum[1] += (c >> 8) & 0xFF;
          sum[2] += (c >> 16) & 0xFF;
          sum[3] += c >> 24;
          sum[4] += a * (c & 0xFF);
          sum[5] += a * ((c >> 8) & 0xFF);
          sum[6] += a * ((c >> 16) & 0xFF);
        }
      }
    }
    std::uint32_t* to = out.Row(y);
    for (int x = 0; x < width; ++x) {
      const std::uint64_t count = static_cast<std::uint64_t>(y1 - y0) * (end[x] - start[x]);
      const std::uint64_t* sum = &sums[static_cast<std::size_t>(x) * kSums];
      auto average = [](std::uint64_t s, std::uint64_t n) { return (s + n / 2) / n; };
      if (sum[3] == 0) {
        to[x] = static_cast<std::uint32_t>(average(sum[0], count) | average(sum[1], count) << 8 |
                                           average(sum[2], count) << 16);
        continue;
      }
      const std::uint64_t opacity = count * 255 - sum[3];
      const auto colour =
          static_cast<Colour>(average(sum[4], std::max<std::uint64_t>(opacity, 1)) |
                              average(sum[5], std::max<std::uint64_t>(opacity, 1)) << 8 |
                              average(sum[6], std::max<std::uint64_t>(opacity, 1)) << 16);
      to[x] = static_cast<std::uint32_t>(
          WithOpacity(colour, static_cast<int>(average(opacity, count))));
    }
  }
  return out;
}

std::shared_ptr<const Surface> PreviewSources::Working(
    const std::shared_ptr<const Surface>& picture, int workingSide, Checkpoint* checkpoint) {
  std::lock_guard lock(mutex_);
  if (working_ && picture_.lock() == picture && workingSide_ == workingSide) return working_;
  const int longest = std::max(picture->width(), picture->height());
  std::shared_ptr<const Surface> working = picture;
  if (longest > workingSide) {
    const double factor = static_cast<double>(workingSide) / longest;
    Remembering stop(checkpoint);
    Surface copy = Reduce(*picture, Reduced(picture->width(), factor),
                          Reduced(picture->height(), factor), &stop);
    if (stop.stopped()) return nullptr;
    working = std::make_shared<const Surface>(std::move(copy));
  }
  picture_ = picture;
  workingSide_ = workingSide;
  working_ = working;
  return working_;
}

std::shared_ptr<const Surface> PreviewSources::SourceOfSize(
    const std::shared_ptr<const Surface>& picture, int width, int height, int workingSide,
    Checkpoint* checkpoint) {
  if (width == picture->width() && height == picture->height()) return picture;
  const std::shared_ptr<const Surface> working = Working(picture, workingSide, checkpoint);
  if (!working) return nullptr;
  if (width == working->width() && height == working->height()) return working;
  // A size the working copy cannot give in full detail (a narrow frame from a very wide
  // picture) is made from the picture itself.
  const bool fromWorking = width <= working->width() && height <= working->height();
  Remembering stop(checkpoint);
  Surface reduced = Reduce(fromWorking ? *working : *picture, width, height, &stop);
  if (stop.stopped()) return nullptr;
  return std::make_shared<const Surface>(std::move(reduced));
}

namespace {

constexpr Colour Rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

Surface DrawTestPicture() {
  constexpr int kW = 160, kH = 120;
  Surface s(kW, kH, 0);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const bool left = x < kW / 2, top = y < kH / 2;
      Colour c = top ? (left ? Rgb(224, 80, 72) : Rgb(96, 176, 88))
                     : (left ? Rgb(72, 112, 216) : Rgb(240, 200, 64));
      if (x % 20 == 0 || y % 20 == 0 || x == kW - 1 || y == kH - 1) c = Rgb(40, 40, 40);
      s.PSet(x, y, c);
    }
  }
  // The arrow: a shaft and a head narrowing to its point at the right, white over the grid.
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const int dy = std::abs(y - kH / 2);
      const bool shaft = x >= 30 && x < 100 && dy <= 8;
      const bool head = x >= 100 && x < 134 && dy <= (134 - x) * 26 / 34;
      if (shaft || head) s.PSet(x, y, Rgb(255, 255, 255));
    }
  }
  return s;
}

}  // namespace

std::shared_ptr<const Surface> TestPicture() {
  static const std::shared_ptr<const Surface> picture =
      std::make_shared<const Surface>(DrawTestPicture());
  return picture;
}

}  // namespace kinetta::render

#include "render/scaling.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "render/geometry.h"
#include "render/transparency.h"

namespace kinetta::render {

namespace {

// For each destination index along one side, the source indices it covers and their weights.
struct Tap {
  int from = 0;
  std::vector<double> weights;
};

std::vector<Tap> Taps(int source, int destination) {
  std::vector<Tap> taps(static_cast<std::size_t>(destination));
  const double scale = static_cast<double>(source) / destination;
  for (int d = 0; d < destination; ++d) {
    double start = d * scale, end = (d + 1) * scale;
    if (scale < 1) {  // enlarging: the one source pixel under the centre
      start = std::floor((d + 0.5) * scale);
      end = start + 1;
    }
    Tap& tap = taps[static_cast<std::size_t>(d)];
    tap.from = static_cast<int>(std::floor(start));
    for (int s = tap.from; s < end && s < source; ++s) {
      tap.weights.push_back(std::min<double>(s + 1, end) - std::max<double>(s, start));
    }
  }
  return taps;
}

}  // namespace

namespace {

// Rows [firstRow, endRow) of the scaled picture.
void ScaleRows(const Surface& from, Surface& to, const ScaledPlace& place,
               const std::vector<Tap>& across, const std::vector<Tap>& down, int firstRow,
               int endRow) {
  std::vector<double> sums(static_cast<std::size_t>(place.width) * 5);
  for (int y = firstRow; y < endRow; ++y) {
    std::fill(sums.begin(), sums.end(), 0.0);
    const Tap& rows = down[static_cast<std::size_t>(y)];
    for (std::size_t j = 0; j < rows.weights.size(); ++j) {
      const std::uint32_t* source = from.Row(rows.from + static_cast<int>(j));
      for (int x = 0; x < place.width; ++x) {
        const Tap& columns = across[static_cast<std::size_t>(x)];
        double* sum = &sums[static_cast<std::size_t>(x) * 5];
        for (std::size_t i = 0; i < columns.weights.size(); ++i) {
          const Colour c = static_cast<Colour>(source[columns.from + static_cast<int>(i)]);
          const double weight = rows.weights[j] * columns.weights[i];
          const double opacity = OpacityOf(c) * weight;
          sum[0] += (c & 0xFF) * opacity;
          sum[1] += ((c >> 8) & 0xFF) * opacity;
          sum[2] += ((c >> 16) & 0xFF) * opacity;
          sum[3] += opacity;
          sum[4] += weight;
        }
      }
    }
    for (int x = 0; x < place.width; ++x) {
      const double* sum = &sums[static_cast<std::size_t>(x) * 5];
      const int opacity = static_cast<int>(std::lround(sum[3] / sum[4]));
      std::uint32_t& pixel = to.Row(place.top + y)[place.left + x];
      if (opacity == 0) {
        pixel = static_cast<std::uint32_t>(kClear);
        continue;
      }
      const auto channel = [&](int i) {
        return std::clamp(static_cast<int>(std::lround(sum[i] / sum[3])), 0, 255);
      };
      // The pixel keeps its opacity in the top byte.
      pixel = static_cast<std::uint32_t>(
          WithOpacity(Compose(channel(0), channel(1), channel(2)), opacity));
    }
  }
}

// Below this many source pixels a picture is scaled on the caller's thread alone.
constexpr std::int64_t kPixelsForThreads = 1 << 21;
constexpr unsigned kMaxThreads = 8;

}  // namespace

void ScaleInto(const Surface& from, Surface& to, const ScaledPlace& place) {
  const std::vector<Tap> across = Taps(from.width(), place.width);
  const std::vector<Tap> down = Taps(from.height(), place.height);
  // Each row of the result is made from its own source rows alone: a large picture is scaled
  // in bands of rows on several threads, with the same result.
  const std::int64_t pixels = static_cast<std::int64_t>(from.width()) * from.height();
  const int bands =
      pixels < kPixelsForThreads
          ? 1
          : static_cast<int>(std::min({std::max(1u, std::thread::hardware_concurrency()),
                                       kMaxThreads, static_cast<unsigned>(place.height)}));
  std::vector<std::thread> helpers;
  for (int b = 1; b < bands; ++b) {
    helpers.emplace_back([&, b] {
      ScaleRows(from, to, place, across, down, place.height * b / bands,
                place.height * (b + 1) / bands);
    });
  }
  ScaleRows(from, to, place, across, down, 0, place.height / bands);
  for (std::thread& helper : helpers) helper.join();
}

Surface Scaled(const Surface& from, int width, int height) {
  Surface out = Surface::Unwritten(width, height);
  ScaleInto(from, out, {0, 0, width, height});
  return out;
}

ScaledSize FitLongerSide(int width, int height, int maxSide) {
  const int longer = std::max(width, height);
  if (maxSide <= 0 || longer <= maxSide) return {width, height};
  const auto side = [&](int s) {
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(s) * maxSide / longer)));
  };
  return {side(width), side(height)};
}

}  // namespace kinetta::render

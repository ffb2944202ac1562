// Throughput of every motion in megapixels of finished frames per second, on one thread and on
// all cores, for a 512 x 512, a 1920 x 1080 and a 3840 x 2160 picture. Frames are drawn in
// memory, not saved.
#include <benchmark/benchmark.h>

#include <string>

#include "render/geometry.h"
#include "render/motions.h"
#include "render/run.h"

namespace {

using kinetta::render::Surface;

// A picture with detail everywhere, so no motion meets large flat areas.
Surface BenchPicture(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      s.PSet(x, y, kinetta::render::Compose((x * 7 + y) & 0xFF, (x ^ y) & 0xFF, (y * 3) & 0xFF));
    }
  }
  return s;
}

void BM_Motion(benchmark::State& state) {
  const int shape = static_cast<int>(state.range(0));
  const int w = static_cast<int>(state.range(1));
  const int h = static_cast<int>(state.range(2));
  const int threads = static_cast<int>(state.range(3));
  static Surface picture;
  if (picture.width() != w || picture.height() != h) picture = BenchPicture(w, h);

  kinetta::base::Settings s;
  s.ShapeIndex = shape;
  s.WidthMode = 0;
  s.FrameCount = 8;
  s.Shade3D = 1;
  kinetta::render::RenderOptions o;
  o.threads = threads;
  o.seed = 1;
  double pixels = 0;
  for (auto _ : state) {
    kinetta::render::RenderFrames(picture, s, o, [&](int, const Surface& f) {
      pixels += static_cast<double>(f.width()) * f.height();
      benchmark::DoNotOptimize(f.Row(0));
      return kinetta::render::FrameOutcome{};
    });
  }
  state.counters["Mpx/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsRate);
  state.SetLabel(std::string(kinetta::render::FindMotion(shape)->id) +
                 (threads == 1 ? " 1 thread" : " all cores"));
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int shape = 0; shape < 9; ++shape) {
    for (int threads : {1, 0}) {
      b->Args({shape, 512, 512, threads});
      b->Args({shape, 1920, 1080, threads});
      b->Args({shape, 3840, 2160, threads});
    }
  }
}

BENCHMARK(BM_Motion)->Apply(Sizes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

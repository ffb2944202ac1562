// From the open request to a picture the window can show, for a large JPEG (the path in
// KINETTA_OPEN_PICTURE, as bench/vs-first-look.sh makes it): decoding the whole picture and
// reducing it to what a 1920 x 1080 screen shows of it, against the first look at it reduced
// the same way; and the first look followed by the whole picture, all the window does.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/picture_box.h"
#include "app/window_layout.h"
#include "image/quick_look.h"
#include "image/source_loading.h"

namespace {

using namespace kinetta;

std::string PicturePath() {
  const char* path = std::getenv("KINETTA_OPEN_PICTURE");
  return path ? path : "";
}

// The source picture's room in a window as large as a 1920 x 1080 screen leaves, at 96 dpi.
app::PixelSize Room() {
  return app::RoomForPictures({1900, 980}, app::TwipsPerPixel{15, 15}).source;
}

QImage Whole(const std::string& path, app::PixelSize room) {
  const base::Result<image::Picture> read = image::LoadSourcePicture(path, false);
  if (!read.ok()) return {};
  return app::ImageForShowing(read.value().pixels, room);
}

QImage FirstLook(const std::string& path, app::PixelSize room) {
  const std::optional<image::QuickLook> look =
      image::ReadQuickLook(path, {room.width, room.height});
  if (!look) return {};
  return app::ImageOfSize(look->picture, app::FittedSize({look->width, look->height}, room));
}

void Check(benchmark::State& state, const QImage& shown) {
  if (shown.isNull()) state.SkipWithError("no picture: set KINETTA_OPEN_PICTURE to a large JPEG");
}

void BM_WholePicture(benchmark::State& state) {
  const std::string path = PicturePath();
  for (auto _ : state) {
    const QImage shown = Whole(path, Room());
    Check(state, shown);
    benchmark::DoNotOptimize(shown.constBits());
  }
}

void BM_FirstLook(benchmark::State& state) {
  const std::string path = PicturePath();
  // The label: the first look's size and the size it is shown at.
  const app::PixelSize room = Room();
  if (const std::optional<image::QuickLook> look =
          image::ReadQuickLook(path, {room.width, room.height})) {
    const app::PixelSize shown = app::FittedSize({look->width, look->height}, room);
    state.SetLabel(std::to_string(look->picture.width()) + "x" +
                   std::to_string(look->picture.height()) + " shown at " +
                   std::to_string(shown.width) + "x" + std::to_string(shown.height));
  }
  for (auto _ : state) {
    const QImage shown = FirstLook(path, Room());
    Check(state, shown);
    benchmark::DoNotOptimize(shown.constBits());
  }
}

// The first look, then the whole picture as the worker reads it (the window keeps the first
// look's image): the time until a run may start.
void BM_FirstLookThenWholePicture(benchmark::State& state) {
  const std::string path = PicturePath();
  for (auto _ : state) {
    const QImage shown = FirstLook(path, Room());
    Check(state, shown);
    const base::Result<image::Picture> read = image::LoadSourcePicture(path, false);
    benchmark::DoNotOptimize(read.ok());
  }
}

}  // namespace

BENCHMARK(BM_WholePicture)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FirstLook)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FirstLookThenWholePicture)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();

// The frame size of a motion and the memory a run of it holds.
#include "render/run_budget.h"

#include <algorithm>
#include <limits>

#include "render/motions.h"

namespace kinetta::render {

FrameSize PlannedFrameSize(const Settings& s, int w, int h) {
  const Motion* motion = FindMotion(s.ShapeIndex);
  return motion ? motion->size(s, w, h) : FrameSize{};
}

std::uint64_t RunMemoryBytes(const Settings& s, int sourceWidth, int sourceHeight, int threads,
                             FrameHolding holding) {
  const Motion* motion = FindMotion(s.ShapeIndex);
  if (!motion) return 0;
  const FrameSize size = PlannedFrameSize(s, sourceWidth, sourceHeight);
  // In doubles: a frame of 32767 x 8388608 pixels overflows no product here.
  const double w = std::max(0, sourceWidth), h = std::max(0, sourceHeight);
  const double fw = std::max(0, size.width), fh = std::max(0, size.height);
  // The source, which every motion reads in place.
  const double source = w * h * 4;
  const int drawing = std::clamp(threads, 1, kFramesInFlight);
  // Drawing on several threads keeps kFramesInFlight canvases of 4 bytes a pixel; in order, one.
  // Drawn in strips, each holds a strip of rows and a byte per row of the frame instead.
  const double perFrame =
      holding == FrameHolding::Canvases ? fw * fh * 4 : fw * FrameRows::kStripRows * 4 + fh;
  const double canvases = (drawing > 1 ? kFramesInFlight : 1) * perFrame;
  // Each drawing thread's row and column buffers, the piece its frame file is written through,
  // and the address space it takes: its stack and the C library's arena for its allocations (8 and
  // 64 MiB), which count against a limit on the process's address space.
  constexpr double kThreadSpace = 72.0 * (1 << 20);
  const double buffers =
      drawing * ((fw + fh) * 16 + static_cast<double>(kFramePieceBytes) + kThreadSpace);
  // PNG frame files: each drawing thread's encoder (its rows and deflate state) and the piece
  // its output gathers in. Drawn in strips, a frame's rows go into the file from the top down:
  // the water draws its reflection from the bottom up, which waits there for the rows above it.
  double png = 0;
  if (base::PngFrames(s)) {
    constexpr double kDeflateBytes = 512.0 * 1024;
    png = drawing * (fw * 4 * 6 + kDeflateBytes + static_cast<double>(kFramePieceBytes));
    if (holding == FrameHolding::Strips && motion->shape == Shape::Water) {
      png += (drawing > 1 ? kFramesInFlight : 1) * (fh / 2) * (fw * 4 + 64);
    }
  }
  const double total =
      source + canvases + buffers + png + motion->tableBytes(s, sourceWidth, sourceHeight);
  constexpr auto kMax = static_cast<double>(std::numeric_limits<std::uint64_t>::max());
  return total >= kMax ? std::numeric_limits<std::uint64_t>::max()
                       : static_cast<std::uint64_t>(total);
}

}  // namespace kinetta::render

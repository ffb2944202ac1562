// The frame sizes of the nine motions and the memory a run of them holds.
#include "render/run_budget.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/motions.h"
#include "render/renderers/cutout.h"
#include "render/renderers/flag.h"
#include "render/renderers/flip.h"

namespace kinetta::render {

FrameSize PlannedFrameSize(const Settings& s, int w, int h) {
  const Motion* motion = FindMotion(s.ShapeIndex);
  if (!motion) return {};
  switch (motion->shape) {
    case Shape::Plane:
      return {OutputWidth(s, w, h), h};
    case Shape::Disk:
    case Shape::Sphere:
    case Shape::Cylinder:
      return {std::max(0, OutputWidth(s, w, h)), h};
    case Shape::Flag: {
      const flag::Geometry g = flag::MakeGeometry(w, h);
      return {g.width, g.height};
    }
    case Shape::Water:
      return {w, 2 * h};
    case Shape::Flip: {
      const flip::Geometry g = flip::MakeGeometry(w, h, s.Shade3D == 1);
      return {g.canvasWidth, g.faceHeight};
    }
    case Shape::Cutout:
      return {w, cutout::FrameHeight(h)};
    case Shape::FadeIn:
      return {w, h};
  }
  return {};
}

namespace {

// The tables a motion's renderer makes once per run, in bytes, at most.
double TableBytes(const Settings& s, Shape shape, double w, double h, double fw, double fh) {
  switch (shape) {
    case Shape::Plane:
      return h * 96;  // per row a list of up to three runs of columns
    case Shape::Sphere:
      // Per slice pixel an offset; per row its runs of one light level, at most 29 a side.
      return fw * std::min(fh, fw + 1) * 4 + fh * (32 + 24 + 58 * 8);
    case Shape::Cylinder:
    case Shape::Flag:
      return fw * 8;
    case Shape::FadeIn:
      return s.Shade3D != 0 ? w * h * 2 : 0;  // each pixel's first frame
    case Shape::Disk:
    case Shape::Water:
    case Shape::Flip:
    case Shape::Cutout:
      return 0;
  }
  return 0;
}

}  // namespace

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
  const double total = source + canvases + buffers + TableBytes(s, motion->shape, w, h, fw, fh);
  constexpr auto kMax = static_cast<double>(std::numeric_limits<std::uint64_t>::max());
  return total >= kMax ? std::numeric_limits<std::uint64_t>::max()
                       : static_cast<std::uint64_t>(total);
}

}  // namespace kinetta::render

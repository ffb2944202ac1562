// The nine motions in shape-list order. The driver, the settings dialog and the command line
// all read this one table.
#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "render/renderer.h"

namespace kinetta::render {

enum class Shape { Plane = 0, Disk, Sphere, Cylinder, Flag, Water, Flip, Cutout, FadeIn };

using RendererFactory = std::unique_ptr<Renderer> (*)(const RenderInput&);

/// The bytes of the tables a motion's renderer makes once per run, at most; in doubles, so that
/// no product overflows however large the frame.
using TableBytesRule = double (*)(const Settings& s, int sourceWidth, int sourceHeight);

struct Motion {
  Shape shape;
  std::string_view id;     ///< command-line name: plane, disk, ...
  std::string_view label;  ///< the shape list's entry (UTF-8): 平面, 円盤, ...
  RendererFactory make;
  FrameSizeRule size;  ///< the unit's own rule, which its renderer's Size() gives too
  TableBytesRule tableBytes;
  /// The picture holds two faces, its top and its bottom half (the flip, the cut-out).
  bool stackedFaces = false;
};

/// All nine motions, index = ShapeIndex.
std::span<const Motion> Motions();

/// The motion of a ShapeIndex, or nullptr outside 0..8.
const Motion* FindMotion(int shapeIndex);

/// The motion with command-line name `id`, or nullptr.
const Motion* FindMotionById(std::string_view id);

/// The table bytes of a motion whose renderer makes no tables: 0.
double NoTables(const Settings& s, int sourceWidth, int sourceHeight);

// One factory per motion, each in its own file under renderers/.
std::unique_ptr<Renderer> MakePlane(const RenderInput& in);
std::unique_ptr<Renderer> MakeDisk(const RenderInput& in);
std::unique_ptr<Renderer> MakeSphere(const RenderInput& in);
std::unique_ptr<Renderer> MakeCylinder(const RenderInput& in);
std::unique_ptr<Renderer> MakeFlag(const RenderInput& in);
std::unique_ptr<Renderer> MakeWater(const RenderInput& in);
std::unique_ptr<Renderer> MakeFlip(const RenderInput& in);
std::unique_ptr<Renderer> MakeCutout(const RenderInput& in);
std::unique_ptr<Renderer> MakeFadeIn(const RenderInput& in);

}  // namespace kinetta::render

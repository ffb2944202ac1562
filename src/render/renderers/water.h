// The water surface's per-pixel formulas: where a reflected pixel takes its colour from, and
// the water colour's tint.
#pragma once

#include "render/renderer.h"
#include "render/surface.h"

namespace kinetta::render::water {

/// The frame: W x 2H, the picture above its reflection.
FrameSize Size(const Settings& s, int sourceWidth, int sourceHeight);

struct Position {
  int x, y;
};

/// The source position reflected at column x for source row y, in a frame of phase phi, for a
/// W x H source: sx = round(cos(a1) x 2 + x), sy = round(sin(a2) + y) with
/// a1 = phi - 2 pi y / (W / 20) and a2 = phi - 2 pi x / (2H / 14). When either falls outside
/// the source, the undisplaced (x, y) is taken instead. It is drawn at canvas row 2H - y - 1.
Position SourcePosition(int x, int y, double phi, int sourceWidth, int sourceHeight);

/// A component mixed with a quarter of the water colour's: round((3 x c + w) / 4).
int Tint(int component, int waterComponent);

/// The reflected colour of source colour c: tinted with `water` when `tinted`, else unchanged.
Colour Reflect(Colour c, Colour water, bool tinted);

}  // namespace kinetta::render::water

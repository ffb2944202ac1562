// The cylinder's per-column formulas: which source column each output column shows, and the
// vertical band of light.
#pragma once

#include "render/renderer.h"

namespace kinetta::render::cylinder {

/// The frame: OutW (by the width mode, at least 0) x H.
FrameSize Size(const Settings& s, int sourceWidth, int sourceHeight);

/// The tables made once per run, at most: per column its source column and its light level.
double TableBytes(const Settings& s, int sourceWidth, int sourceHeight);

/// The source column output column x reads in a frame OutW wide before the frame's slide:
/// floor((3.14159 - ArcCos(L / (OutW / 2))) x Q / 3.14159) with L = round(x - OutW / 2) and
/// Q = OutW x 3.14159 / 2. At x = 0 of an even width ArcCos(-1) is 0: the strip's far end.
int SourceColumn(int x, int outW);

/// The light level of column x: round(Distan1(x, round(OutW x 0.1), OutW) / 5), halves to even.
int ShadeLevel(int x, int outW);

/// Component c at light level v: towards white below 8, unchanged 8 to 10, round(10c / v) above.
int ShadeComponent(int c, int v);

}  // namespace kinetta::render::cylinder

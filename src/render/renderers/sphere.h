// The sphere's per-pixel formulas: the slice of each row, where along the source strip each
// slice pixel reads, and the light spot's shading.
#pragma once

#include "render/renderer.h"

namespace kinetta::render::sphere {

/// The frame: OutW (by the width mode, at least 0) x H.
FrameSize Size(const Settings& s, int sourceWidth, int sourceHeight);

/// The tables made once per run, at most: per slice pixel its source column, per row its slice
/// and its runs of one light level (at most 29 on either side of the light's column).
double TableBytes(const Settings& s, int sourceWidth, int sourceHeight);

/// Row y's horizontal slice of a sphere OutW across whose top touches row 0: radius r (1 where
/// the formula gives 0, at the top row and row OutW), left margin m and last index n, so the
/// slice covers columns m .. m + n. Only rows 0 .. OutW have a slice.
struct Slice {
  double r;
  int m;
  int n;
};
Slice SliceOf(int outW, int y);

/// u + m for slice position j: the source column before the frame's slide, where
/// u = floor((3.14159 - ArcCos(t)) x (2q) / 3.14159), t = (j - r) / r capped at 1 and
/// q = r x 3.14159 / 2. At j = 0 the arc cosine of -1 is 0, so it reads the strip's far end.
int SourceOffset(const Slice& slice, int j);

/// The column of the light spot's centre, round(OutW x 0.25), halves to even.
int LightColumn(int outW);

/// The light level of canvas pixel (x, y): round(Distan2 to the light centre
/// (LightColumn(OutW), round(OutW x 0.3)) / 5), halves to even. On either side of the centre's
/// column it never falls with the distance from it.
int ShadeLevel(int x, int y, int outW);

/// Component c at light level v: towards white below 8, unchanged 8 to 11, round(12c / v) above.
int ShadeComponent(int c, int v);

}  // namespace kinetta::render::sphere

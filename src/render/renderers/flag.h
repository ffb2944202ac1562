// The flag's per-pixel formulas: frame size, the amplitude along the pole and where a canvas
// pixel takes its colour from.
#pragma once

#include "render/renderer.h"

namespace kinetta::render::flag {

/// The frame and the picture's place in it: FW = round(W x 1.05), FH = round(H x 1.1) and the
/// downward shift D = round(H x 0.05), halves to even.
struct Geometry {
  int width;   ///< FW
  int height;  ///< FH
  int shift;   ///< D
};
Geometry MakeGeometry(int sourceWidth, int sourceHeight);

/// The frame: FW x FH.
FrameSize Size(const Settings& s, int sourceWidth, int sourceHeight);

/// The tables made once per run, at most: per column its amplitude.
double TableBytes(const Settings& s, int sourceWidth, int sourceHeight);

/// A = x / (W x 0.01), capped at W x 0.02: zero at the pole, full swing from 2 % of W on.
double Amplitude(int x, int sourceWidth);

struct Position {
  int x, y;
};

/// The source position canvas pixel (x, y) shows in a frame of phase phi:
/// sx = round(cos(a1) x A + x), sy = round(sin(a2) x A + y - D) with a1 = phi - 2 pi y / FW and
/// a2 = phi - 2 pi x / FH. The pixel is drawn only when this lies inside the source.
Position SourcePosition(int x, int y, double phi, const Geometry& g, int sourceWidth);

}  // namespace kinetta::render::flag

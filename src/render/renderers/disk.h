// The disk's per-pixel formulas: the centre, the turn of frame k, and which source pixel an
// output pixel shows, both by the exact formula and by a fast route that gives the same integers.
#pragma once

#include "render/renderer.h"

namespace kinetta::render::disk {

/// The frame: OutW (by the width mode, at least 0) x H.
FrameSize Size(const Settings& s, int sourceWidth, int sourceHeight);

struct Centre {
  int cx, cy;
};

/// round(OutW / 2), round(H / 2), halves to even: 101 gives 50, 103 gives 52.
Centre CentreOf(int outW, int height);

/// The turn of frame k: k x 3.14159 x 2 / FrameCount, in that order.
double TurnAngle(int k, int frameCount);

struct Source {
  int x, y;
};

/// The source position of output pixel (x, y) turned by theta about `c`, by the exact formula:
/// the pixel's distance rho and angle phi (pi taken as 3.14159 straight left of the centre, and
/// 6.28318 - phi above it), then round(cos(phi + theta) x rho + cx) and the same with sin and cy.
/// The centre pixel reads itself.
Source SourceOf(int x, int y, Centre c, double theta);

/// The same integers as SourceOf for every pixel of one frame, at a few multiplications each.
///
/// Below the centre row phi is the true angle of (dx, dy) = (x - cx, y - cy), so
/// cos(phi + theta) x rho is that offset turned by theta: cos(theta) dx - sin(theta) dy. Above
/// it phi is 6.28318 minus the arc cosine, that is the true angle (a negative one) plus 6.28318:
/// the offset turned by 6.28318 + theta. On the centre row left of the centre phi is 3.14159 and
/// rho = -dx, which the route evaluates exactly as SourceOf does.
///
/// The fast value differs from SourceOf's double by rounding and by the conditioning of the arc
/// cosine: with S = OutW + H, at most a few 1e-15 x S plus 1e-15 x S^2. The margin,
/// 1e-9 (S + 1) + 1e-13 S^2, is far above that; where a value lies within the margin of a
/// halfway point, the exact formula decides instead.
class Turn {
 public:
  Turn(int outW, int height, double theta);

  Centre centre() const { return c_; }

  /// The source positions of columns x0 .. x1 - 1 of row y (0 <= x0 <= x1 <= outW), into
  /// sx[0 .. x1 - x0 - 1] and sy[0 .. x1 - x0 - 1]. Each pixel's position depends on the pixel
  /// alone, so a row taken in spans gives the same integers as taken whole. Returns how many
  /// of them the exact formula had to decide.
  int SourceSpan(int y, int x0, int x1, int* sx, int* sy) const;

 private:
  struct Rotation {
    double xx, xy, yx, yy;
  };

  // Columns [x0, x1) of row y by one rotation, into sx[x - x0] and sy[x - x0]; pixels too near
  // a halfway point get the exact formula. Returns how many did.
  int Segment(const Rotation& r, int y, int x0, int x1, int* sx, int* sy) const;

  Centre c_;
  int outW_;
  double theta_;
  double margin_;
  Rotation below_, above_, left_;
};

}  // namespace kinetta::render::disk

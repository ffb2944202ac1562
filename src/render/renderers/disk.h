// The disk's per-pixel formulas: the centre, the turn of frame k, and which source pixel an
// output pixel shows, both by the exact formula and by a fast route that gives the same integers.
#pragma once

namespace kinetta::render::disk {

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
/// Below the centre row phi is the true angle of (x - cx, y - cy), so cos(phi + theta) x rho is
/// that offset turned by theta: cos(theta) dx - sin(theta) dy. Above it phi is 6.28318 minus the
/// true angle, which is the offset turned by 6.28318 + theta. On the centre row left of the
/// centre phi is 3.14159 and rho = -dx, which the route evaluates exactly as SourceOf does.
///
/// The fast value differs from SourceOf's double by rounding and by the conditioning of the arc
/// cosine: with S = OutW + H, at most a few 1e-15 x S plus 1e-15 x S^2. Margin() is
/// 1e-9 (S + 1) + 1e-13 S^2, far above that; where a value lies within Margin() of a halfway
/// point, the exact formula decides instead.
class Turn {
 public:
  Turn(int outW, int height, double theta);

  Centre centre() const { return c_; }
  double Margin() const { return margin_; }

  /// The fast route alone: false where it cannot be trusted, `out` then unchanged.
  bool FastSource(int x, int y, Source& out) const {
    const double dx = x - c_.cx;
    const double dy = y - c_.cy;
    const Rotation& r = y > c_.cy ? below_ : y < c_.cy ? above_ : x >= c_.cx ? below_ : left_;
    int sx, sy;
    if (!NearestAwayFromHalf(r.xx * dx + r.xy * dy + c_.cx, sx)) return false;
    if (!NearestAwayFromHalf(r.yx * dx + r.yy * dy + c_.cy, sy)) return false;
    out = {sx, sy};
    return true;
  }

  /// The source position of (x, y): the fast route, or the exact formula near a halfway point.
  Source At(int x, int y) const {
    Source s;
    if (FastSource(x, y, s)) return s;
    return SourceOf(x, y, c_, theta_);
  }

 private:
  struct Rotation {
    double xx, xy, yx, yy;
  };

  // The nearest integer to v, when v is farther than the margin from any halfway point (so
  // that the exact value, within the margin of v, has the same nearest integer).
  bool NearestAwayFromHalf(double v, int& out) const {
    const double t = v + 0.5;
    int i = static_cast<int>(t);
    if (t < i) --i;  // rounds down for negatives too
    const double f = t - i;
    if (f <= margin_ || f >= 1 - margin_) return false;
    out = i;
    return true;
  }

  Centre c_;
  double theta_;
  double margin_;
  Rotation below_, above_, left_;
};

}  // namespace kinetta::render::disk

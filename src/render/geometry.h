// The small per-pixel helpers every renderer shares: colour parts, clamping, the arc cosine
// of the curved shapes, two scaled distances, and the rounding rule of the whole program.
#pragma once

#include <cmath>
#include <cstdint>

#include "render/surface.h"

namespace kinetta::render {

/// The constants the curved shapes use for pi and 2 pi (not more precise values: the frames
/// depend on them).
inline constexpr double kPi = 3.14159;
inline constexpr double kTwoPi = 6.28318;

/// A real brought to the nearest integer, a value exactly halfway going to the even one.
/// (The default floating-point environment rounds to nearest-even; nothing here changes it.)
inline int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

/// Packs three components (each 0..255) into a colour.
inline Colour Compose(int red, int green, int blue) { return red + 256 * green + 65536 * blue; }

/// Component `part` (0 red, 1 green, 2 blue) of `colour`, by truncating division: -1 gives
/// red -1, green 0, blue 0. Any other part gives 0.
int RGBPart(Colour colour, int part);

/// Brings each component into 0..255: negatives first, then values above 255.
inline void ClampRGB(int& red, int& green, int& blue) {
  if (red < 0) red = 0;
  if (green < 0) green = 0;
  if (blue < 0) blue = 0;
  if (red > 255) red = 255;
  if (green > 255) green = 255;
  if (blue > 255) blue = 255;
}

/// Arc cosine through the arc tangent; 0 where 1 - x*x is not positive (so -1 gives 0, not pi).
inline double ArcCos(double x) {
  const double a = 1 - x * x;
  if (a > 0) return std::atan(-x / std::sqrt(a)) + 2 * std::atan(1.0);
  return 0;
}

/// sqrt(1 - x*x); the caller keeps |x| <= 1.
inline double SinFromCos(double x) { return std::sqrt(1 - x * x); }

/// |b - a| in percent of w, rounded down. Wider than 16 bits, so wide frames keep the formula.
int Distan1(int a, int b, int w);

/// The distance from (x1, y1) to (x2, y2) in percent of w, rounded down.
int Distan2(int x1, int y1, int x2, int y2, int w);

}  // namespace kinetta::render

namespace kinetta::render {

/// The plane, sphere and cylinder read the source as a band of this many copies side by side:
/// band column x is source column x mod W, and columns past the band read as outside.
inline constexpr int kBandCopies = 3;

/// Band column `x` (0 <= x < kBandCopies x W) as a source column: x mod W without a division.
inline int BandColumn(int x, int sourceWidth) {
  if (x >= sourceWidth) x -= sourceWidth;
  if (x >= sourceWidth) x -= sourceWidth;
  return x;
}

/// The slide offset of frame k when a picture W wide moves once round in N frames:
/// round((W / N) x k), halves to even. The plane, sphere, cylinder and cut-out use it.
inline int SlideOffset(int sourceWidth, int frameCount, int k) {
  return RoundHalfEven(static_cast<double>(sourceWidth) / frameCount * k);
}

/// The sphere's and cylinder's light: component c moved towards white by level v (0..7):
/// round((4c + (15 - 2v) x 255) / (19 - 2v)).
inline int BlendTowardsWhite(int c, int v) {
  return RoundHalfEven(static_cast<double>(4 * c + (15 - 2 * v) * 255) / (19 - 2 * v));
}

/// The light spot of the sphere and the cylinder: component c at light level v moved towards
/// white below 8, unchanged from 8 to `plainUpTo`, and round(darkScale x c / v) above.
inline int SpotShade(int c, int v, int plainUpTo, int darkScale) {
  if (v > plainUpTo) return RoundHalfEven(static_cast<double>(c * darkScale) / v);
  if (v < 8) return BlendTowardsWhite(c, v);
  return c;
}

/// A colour read from a surface split into its three components, the way RGBPart does it (a
/// stored pixel is 0..255 in each; the -1 of an outside read gives -1, 0, 0).
struct Rgb {
  int r, g, b;
};
inline Rgb SplitColour(Colour c) {
  if (c < 0) return {RGBPart(c, 0), RGBPart(c, 1), RGBPart(c, 2)};
  return {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF};
}

/// Clamps and packs three components as a stored pixel.
inline std::uint32_t PackClamped(int r, int g, int b) {
  ClampRGB(r, g, b);
  return static_cast<std::uint32_t>(Compose(r, g, b));
}

/// A per-component transform of 0..255 tabulated once: table[c] = f(c) for every c.
template <typename F>
inline void Tabulate(int (&table)[256], F f) {
  for (int c = 0; c < 256; ++c) table[c] = f(c);
}

}  // namespace kinetta::render

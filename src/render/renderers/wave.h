// What the waving and turning motions (flag, water surface, front/back flip) share: the phase
// of frame k, a wave angle brought back into one turn, and a fast rounding for their hot loops.
#pragma once

#include <cmath>

#include "render/geometry.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kinetta::render::wave {

/// The same value as RoundHalfEven(v) for every v in the int range. With `convert` (the vector
/// paths' SSE2, CanUse(VectorSet::Sse2)) without a library call: the processor's conversion
/// rounds to nearest, halves to even, in the default environment.
inline int RoundNearest(double v, bool convert) {
#if defined(__SSE2__)
  if (convert) return _mm_cvtsd_si32(_mm_set_sd(v));
#endif
  return RoundHalfEven(v);
}

/// The phase (or turning angle) of frame k of n: k x 6.28318 / n, product first.
inline double Phase(int k, int n) { return k * kTwoPi / n; }

/// phi - (2 x 3.14159 x pos) / period; a negative angle gets 6.28318 added once (only once, so
/// an angle below -6.28318 stays negative).
inline double Angle(double phi, double pos, double period) {
  double a = phi - (2 * kPi * pos) / period;
  if (a < 0) a += kTwoPi;
  return a;
}

}  // namespace kinetta::render::wave

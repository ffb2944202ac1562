// What the waving and turning motions (flag, water surface, front/back flip) share: the phase
// of frame k, a wave angle brought back into one turn, and a fast rounding for their hot loops.
#pragma once

#include <cmath>
#include <type_traits>

#include "render/geometry.h"
#include "render/vector_paths.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kinetta::render::wave {

/// The same value as RoundHalfEven(v) for every v in the int range; with kConvert without a
/// library call: the processor's conversion rounds to nearest, halves to even, in the default
/// environment.
template <bool kConvert>
int RoundNearest(double v) {
#if defined(__SSE2__)
  if constexpr (kConvert) return _mm_cvtsd_si32(_mm_set_sd(v));
#endif
  return RoundHalfEven(v);
}

/// draw(std::true_type{}) where the vector paths may use SSE2, else draw(std::false_type{}): a
/// hot loop drawn with RoundNearest<decltype(convert)::value> is compiled once with each
/// rounding, and neither pays for the other.
template <typename Draw>
bool WithRounding(Draw draw) {
  return CanUse(VectorSet::Sse2) ? draw(std::true_type{}) : draw(std::false_type{});
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

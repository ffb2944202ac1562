// The one switch for the hand-written vector paths (the disk's rounding and gather, the fade-in's
// dots, the waves' rounding, the frame files' byte shuffle): with KINETTA_SIMD=off in the
// environment every one of them takes its plain path, which gives the same bytes, so that both
// can be run and compared on any machine.
#pragma once

namespace kinetta::render {

/// The instruction sets the vector paths use.
enum class VectorSet {
  Sse2,    ///< two doubles at a time (every x86-64 processor)
  Ssse3,   ///< byte shuffles
  Avx2,    ///< four doubles or eight 32-bit lanes at a time, and gathers
  Avx512,  ///< eight 64-bit lanes with their multiplication (AVX-512 F and DQ)
};

/// False when the environment variable KINETTA_SIMD is "off"; read once per process.
bool VectorPathsEnabled();

/// True when the vector paths are on and the processor runs `set`.
bool CanUse(VectorSet set);

}  // namespace kinetta::render

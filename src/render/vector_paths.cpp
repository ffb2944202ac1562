// The vector paths' switch and the processor's instruction sets.
#include "render/vector_paths.h"

#include <cstdlib>
#include <string_view>

namespace kinetta::render {

bool VectorPathsEnabled() {
  static const bool enabled = [] {
    const char* value = std::getenv("KINETTA_SIMD");
    return value == nullptr || std::string_view(value) != "off";
  }();
  return enabled;
}

bool CanUse(VectorSet set) {
  if (!VectorPathsEnabled()) return false;
#if defined(__x86_64__)
  switch (set) {
    case VectorSet::Sse2:
      return true;
    case VectorSet::Ssse3:
      return __builtin_cpu_supports("ssse3");
    case VectorSet::Avx2:
      return __builtin_cpu_supports("avx2");
    case VectorSet::Avx512:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq");
  }
#endif
  return false;
}

}  // namespace kinetta::render

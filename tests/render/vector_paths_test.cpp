// The vector paths' switch: KINETTA_SIMD=off in the environment turns every one of them off (the
// tests run once each way).
#include "render/vector_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

namespace kinetta::render {
namespace {

TEST(VectorPaths, OffWhenTheEnvironmentSaysSo) {
  const char* value = std::getenv("KINETTA_SIMD");
  const bool off = value != nullptr && std::string_view(value) == "off";
  EXPECT_EQ(VectorPathsEnabled(), !off);
  for (const VectorSet set :
       {VectorSet::Sse2, VectorSet::Ssse3, VectorSet::Avx2, VectorSet::Avx512}) {
    EXPECT_TRUE(!off || !CanUse(set));
  }
#if defined(__x86_64__)
  EXPECT_EQ(CanUse(VectorSet::Sse2), !off) << "every x86-64 processor has SSE2";
#endif
}

}  // namespace
}  // namespace kinetta::render

// The memory at hand: an address-space limit (ulimit -v) lowers what is available, and sizes
// are rounded up to whole MiB.
#include "base/memory_budget.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

namespace kinetta::base {
namespace {

// The process's present size in bytes (the first figure of /proc/self/statm, in pages).
std::uint64_t ProcessBytes() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  unsigned long long pages = 0;
  if (statm) {
    if (std::fscanf(statm, "%llu", &pages) != 1) pages = 0;
    std::fclose(statm);
  }
  return pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

TEST(MemoryBudget, AddressSpaceLimitLowersWhatIsAvailable) {
  EXPECT_GT(AvailableMemoryBytes(), 0u);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_AS, &saved), 0);
  rlimit lowered = saved;
  lowered.rlim_cur = ProcessBytes() + (std::uint64_t{64} << 20);  // 64 MiB of room left
  if (saved.rlim_max != RLIM_INFINITY && lowered.rlim_cur > saved.rlim_max) GTEST_SKIP();
  ASSERT_EQ(::setrlimit(RLIMIT_AS, &lowered), 0);
  const std::uint64_t limited = AvailableMemoryBytes();
  ::setrlimit(RLIMIT_AS, &saved);
  EXPECT_LE(limited, std::uint64_t{64} << 20);
  EXPECT_GT(limited, std::uint64_t{32} << 20);
}

TEST(MemoryBudget, MebibytesRoundUp) {
  EXPECT_EQ(MebibytesUp(0), 0u);
  EXPECT_EQ(MebibytesUp(1), 1u);
  EXPECT_EQ(MebibytesUp(std::uint64_t{805} << 20), 805u);
  EXPECT_EQ(MebibytesUp((std::uint64_t{805} << 20) + 1), 806u);
}

}  // namespace
}  // namespace kinetta::base

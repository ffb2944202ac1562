// Atomic file replacement: files written from several threads at once take the permissions the
// process's file-creation mask gives, and the mask itself is left as it was.
#include "base/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

namespace kinetta::base {
namespace {

// Read while no other thread runs: reading the mask means setting it.
mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

TEST(AtomicFile, ConcurrentWritersKeepTheProcessPermissionsAndMask) {
  test::TempFolder dir;
  const mode_t mask = CurrentUmask();
  constexpr int kThreads = 8, kFiles = 100;
  {
    std::vector<std::jthread> writers;
    for (int t = 0; t < kThreads; ++t) {
      writers.emplace_back([&dir, t] {
        for (int i = 0; i < kFiles; ++i) {
          const std::string name = std::to_string(t * kFiles + i);
          EXPECT_TRUE(WriteFileAtomically(dir / name, name.data(), name.size()).ok()) << name;
        }
      });
    }
  }
  EXPECT_EQ(CurrentUmask(), mask);
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kFiles; ++i) {
      const std::string name = std::to_string(t * kFiles + i);
      struct stat st {};
      ASSERT_EQ(::stat((dir / name).c_str(), &st), 0) << name;
      EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask) << name;
    }
  }
}

}  // namespace
}  // namespace kinetta::base

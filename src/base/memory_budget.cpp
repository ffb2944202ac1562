// The memory the program may take, from the kernel's own reports.
#include "base/memory_budget.h"

#include <sys/resource.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <fstream>
#include <limits>
#include <string>

namespace kinetta::base {

namespace {

constexpr std::uint64_t kUnknown = std::numeric_limits<std::uint64_t>::max();

// The "MemAvailable:" line of /proc/meminfo, in bytes.
std::uint64_t SystemAvailable() {
  std::ifstream meminfo("/proc/meminfo");
  for (std::string line; std::getline(meminfo, line);) {
    if (line.rfind("MemAvailable:", 0) == 0) {
      return std::stoull(line.substr(13)) * 1024;  // the kernel writes kB
    }
  }
  return kUnknown;
}

// A number read from a control-group file; "max" or a missing file is no limit.
std::uint64_t CgroupValue(const char* path) {
  std::ifstream file(path);
  std::string word;
  if (!(file >> word) || word.empty() ||
      word.find_first_not_of("0123456789") != std::string::npos) {
    return kUnknown;
  }
  return std::stoull(word);
}

// What is left under the control group's memory limit (cgroup v2).
std::uint64_t CgroupAvailable() {
  const std::uint64_t limit = CgroupValue("/sys/fs/cgroup/memory.max");
  if (limit == kUnknown) return kUnknown;
  const std::uint64_t used = CgroupValue("/sys/fs/cgroup/memory.current");
  if (used == kUnknown) return limit;
  return used < limit ? limit - used : 0;
}

// The address-space limit (ulimit -v) less the address space the process already has.
std::uint64_t AddressSpaceAvailable() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kUnknown;
  std::ifstream status("/proc/self/status");
  std::uint64_t used = 0;
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmSize:", 0) == 0) used = std::stoull(line.substr(7)) * 1024;
  }
  const auto cap = static_cast<std::uint64_t>(limit.rlim_cur);
  return used < cap ? cap - used : 0;
}

}  // namespace

std::uint64_t AvailableMemoryBytes() {
  try {
    return std::min({SystemAvailable(), CgroupAvailable(), AddressSpaceAvailable()});
  } catch (const std::exception&) {
    return kUnknown;  // a line the kernel wrote otherwise than expected
  }
}

void ReturnFreedMemory() {
#if defined(__GLIBC__)
  // glibc keeps freed blocks below its mapping threshold in each thread's arena; a run's worker
  // and drawing threads leave tens of megabytes there.
  malloc_trim(0);
#endif
}

void KeepFreedBlocksForReuse() {
#if defined(__GLIBC__)
  // glibc maps a block over its threshold on its own and unmaps it when it is freed. The
  // threshold follows the size of a freed block, but a request of just that size is mapped
  // again, so a frame's buffers, taken and freed once a frame, came back as fresh pages the
  // kernel had to clear: a third of the time of 40 lossless WebP frames of 1920 x 1080. Fixed at
  // the highest the threshold would rise to (32 MiB), with the top of the heap given back once
  // twice that is free, as glibc's own rule has it.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

std::uint64_t MebibytesUp(std::uint64_t bytes) { return bytes / 1048576 + (bytes % 1048576 != 0); }

}  // namespace kinetta::base

// Parts handed out in order from one counter to a few threads; the first error is kept and
// passed on after the join, since an exception leaving a thread would end the program.
#include "render/run_parts.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace kinetta::render {

void RunParts(int threads, int count, const std::function<bool(int)>& part) {
  std::atomic<int> next{0};
  std::atomic<bool> stop{false};
  std::mutex m;
  std::exception_ptr error;
  auto work = [&] {
    try {
      while (!stop) {
        const int i = next++;
        if (i >= count) return;
        if (!part(i)) stop = true;
      }
    } catch (...) {
      std::lock_guard lock(m);
      if (!error) error = std::current_exception();
      stop = true;
    }
  };
  {
    std::vector<std::jthread> helpers;
    try {
      for (int t = 1; t < std::min(threads, count); ++t) helpers.emplace_back(work);
    } catch (const std::system_error&) {
      // No room for another thread (a limit on the address space, say): fewer do the work.
    }
    work();
  }  // joins
  if (error) std::rethrow_exception(error);
}

}  // namespace kinetta::render

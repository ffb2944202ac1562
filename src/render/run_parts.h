// Work split into numbered parts that write disjoint memory, run on several threads at once: a
// renderer's tables, the bands of a picture being read.
#pragma once

#include <functional>

namespace kinetta::render {

/// Runs part(0) .. part(count - 1) on up to `threads` threads (the calling one among them),
/// each thread taking the next part in order until none is left or one returns false (stopped);
/// returns when every part taken has ended. An error thrown on any thread reaches the caller
/// once every thread has ended. With no room for another thread, fewer do the work.
void RunParts(int threads, int count, const std::function<bool(int part)>& part);

}  // namespace kinetta::render

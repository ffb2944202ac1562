// How much memory the program may still take: what the system reports as available, lowered by
// the process's own limits, and sizes in whole MiB, as the messages give them; and giving back
// what a finished run freed.
#pragma once

#include <cstdint>

namespace kinetta::base {

/// The bytes the program can still take: the system's available memory (MemAvailable in
/// /proc/meminfo), lowered by a control group's limit and the address-space limit where they are
/// set. UINT64_MAX where none of them can be read.
std::uint64_t AvailableMemoryBytes();

/// Hands back to the system the memory freed since the last time (a run's canvases, an
/// animation file's buffers), which the allocator would otherwise keep for its next requests.
void ReturnFreedMemory();

/// Lets the allocator keep freed blocks of up to 32 MiB for its next requests rather than
/// unmapping each one; called once, when a program starts.
void KeepFreedBlocksForReuse();

/// `bytes` in whole MiB, rounded up.
std::uint64_t MebibytesUp(std::uint64_t bytes);

}  // namespace kinetta::base

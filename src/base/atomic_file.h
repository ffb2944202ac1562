// Replacing a file in one step: the bytes go to a temporary file in the same folder, which is
// then put in the target's place, so a failed or interrupted write never leaves a truncated
// file, and a killed one leaves no temporary behind.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>

#include "base/outcome.h"

namespace kinetta::base {

/// How the file is written before it takes the target's place: as an unnamed file, so that a
/// killed process leaves nothing behind (a file system without them falls back to the named
/// kind), or as a hidden ".kinetta-XXXXXX" file in the target's folder, locked while written.
enum class TemporaryKind { Unnamed, Named };

/// Removes the hidden temporaries a killed process left in `folder`: those no writer holds.
void RemoveStaleTemporaries(const std::filesystem::path& folder);

/// Writes `size` bytes to `target` atomically. On failure the message is the reason; the target
/// is then untouched and no temporary file is left.
Status WriteFileAtomically(const std::filesystem::path& target, const void* data, std::size_t size);

/// The same, with the content produced by `produce`, which writes through the given function
/// (which returns false on a write error) and returns false itself to give up.
Status WriteFileAtomically(
    const std::filesystem::path& target,
    const std::function<bool(const std::function<bool(const void*, std::size_t)>&)>& produce);

/// The same with the kind of temporary chosen.
Status WriteFileAtomically(
    const std::filesystem::path& target,
    const std::function<bool(const std::function<bool(const void*, std::size_t)>&)>& produce,
    TemporaryKind kind);

}  // namespace kinetta::base

// Replacing a file in one step: the bytes go to a temporary file in the same folder, which is
// then renamed over the target, so a failed or interrupted write never leaves a truncated file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>

#include "base/outcome.h"

namespace kinetta::base {

/// Writes `size` bytes to `target` atomically. On failure the message is the reason; the target
/// is then untouched and no temporary file is left.
Status WriteFileAtomically(const std::filesystem::path& target, const void* data, std::size_t size);

/// The same, with the content produced by `produce`, which writes through the given function
/// (which returns false on a write error) and returns false itself to give up.
Status WriteFileAtomically(
    const std::filesystem::path& target,
    const std::function<bool(const std::function<bool(const void*, std::size_t)>&)>& produce);

}  // namespace kinetta::base

// Replacing a file in one step: the bytes go to a temporary file in the same folder, which is
// then renamed over the target, so a failed or interrupted write never leaves a truncated file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

namespace kinetta::base {

/// Writes `size` bytes to `target` atomically. False with a reason on failure; the target is
/// then untouched and no temporary file is left.
bool WriteFileAtomically(const std::filesystem::path& target, const void* data, std::size_t size,
                         std::string* error = nullptr);

/// The same, with the content produced by `produce`, which writes through the given function
/// (which returns false on a write error) and returns false itself to give up.
bool WriteFileAtomically(
    const std::filesystem::path& target,
    const std::function<bool(const std::function<bool(const void*, std::size_t)>&)>& produce,
    std::string* error = nullptr);

}  // namespace kinetta::base

// Reading a whole file that must be a regular file of bounded size: a folder, a FIFO or a
// device is refused at once instead of blocking or filling memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace kinetta::base {

enum class ReadStatus {
  Ok,
  CannotOpen,  // missing, no permission, or a read error
  NotRegular,  // a folder, FIFO, socket or device
  TooLarge,    // more than the caller's limit
};

/// Reads all of `path` into `bytes` when it is a regular file of at most `maxBytes` bytes. The
/// file is opened without blocking (a FIFO never waits for a writer) and checked before a byte
/// is read; `bytes` is left empty on failure.
ReadStatus ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                           std::vector<std::uint8_t>& bytes);

}  // namespace kinetta::base

// Reading a whole file that must be a regular file of bounded size: a folder, a FIFO or a
// device is refused at once instead of blocking or filling memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "base/outcome.h"

namespace kinetta::base {

/// All of `path` when it is a regular file of at most `maxBytes` bytes. The file is opened
/// without blocking (a FIFO never waits for a writer) and checked before a byte is read. A
/// failure's message is the reason in a few words ("通常のファイルではありません" for a folder,
/// FIFO, socket or device; "ファイルが大きすぎます" past the limit), or why the file could not
/// be opened or read at all (SystemErrorText: missing, no permission, ...).
Result<std::vector<std::uint8_t>> ReadRegularFile(const std::filesystem::path& path,
                                                  std::size_t maxBytes);

}  // namespace kinetta::base

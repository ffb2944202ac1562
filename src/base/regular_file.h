// Reading a file that must be a regular file of bounded size: a folder, a FIFO or a device is
// refused at once instead of blocking or filling memory. The file is read whole, or in pieces at
// chosen places (from several threads at once).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "base/outcome.h"

namespace kinetta::base {

/// A regular file of at most a given size, open for reading until this is destroyed.
class RegularFile {
 public:
  /// Opens `path` when it is a regular file of at most `maxBytes` bytes. The file is opened
  /// without blocking (a FIFO never waits for a writer) and checked before a byte is read. A
  /// failure is the reason in a few words: kNotARegularFileReason (Cause::Unsupported) for a
  /// folder, FIFO, socket or device, kFileTooLargeReason (Cause::TooLarge) past the limit, or
  /// why the file could not be opened at all (SystemFailure: missing, no permission, ...).
  static Result<RegularFile> Open(const std::filesystem::path& path, std::size_t maxBytes);

  RegularFile(RegularFile&& other) noexcept;
  RegularFile& operator=(RegularFile&& other) noexcept;
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;
  ~RegularFile();

  /// The file's size when it was opened.
  std::size_t size() const { return size_; }

  /// Fills `into` with the bytes from `offset` on, reading again after an interruption or a
  /// partial read, and gives how many were read: fewer than asked only where the file ends (it
  /// may have shrunk since it was opened). Several threads may read at once. A failure is
  /// SystemFailure's.
  Result<std::size_t> ReadAt(std::size_t offset, std::span<std::uint8_t> into) const;

  /// The whole file: `start`, which holds its first bytes, followed by the rest read to the end.
  /// A file that grows while it is read is refused past the limit (kFileTooLargeReason),
  /// one that shrinks gives what it holds.
  Result<std::vector<std::uint8_t>> ReadToEnd(std::vector<std::uint8_t> start) const;

 private:
  RegularFile(int fd, std::size_t size, std::size_t maxBytes)
      : fd_(fd), size_(size), maxBytes_(maxBytes) {}

  int fd_ = -1;
  std::size_t size_ = 0;
  std::size_t maxBytes_ = 0;
};

/// All of `path` when it is a regular file of at most `maxBytes` bytes; the failures of
/// RegularFile::Open and RegularFile::ReadToEnd.
Result<std::vector<std::uint8_t>> ReadRegularFile(const std::filesystem::path& path,
                                                  std::size_t maxBytes);

}  // namespace kinetta::base

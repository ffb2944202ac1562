// Replacing a file in one step: the bytes go to a temporary file in the same folder, which is
// then put in the target's place, so a failed or interrupted write never leaves a truncated
// file. A killed one leaves at most a hidden temporary, which the next writer in the folder
// removes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "base/outcome.h"

namespace kinetta::base {

/// How the file is written before it takes the target's place: as an unnamed file, so that a
/// killed process leaves nothing behind (a file system without them falls back to the named
/// kind), or as a hidden ".kinetta-XXXXXX" file in the target's folder, locked while written.
enum class TemporaryKind { Unnamed, Named };

/// Removes the hidden temporaries a killed process left in `folder`: those no writer holds.
void RemoveStaleTemporaries(const std::filesystem::path& folder);

/// Writes bytes to the file being made; fails with the system's reason on a write error.
using Writer = std::function<Status(const void*, std::size_t)>;

/// Writes the file's content through the writer it is given; fails to give up, with the
/// writer's failure or its own.
using Producer = std::function<Status(const Writer&)>;

/// Writes `size` bytes to `target` atomically. On failure the status says why: a write that
/// failed (even one the producer went on after), else the producer's own failure, else the
/// step that puts the file in place. The target is then untouched and no temporary file is left.
Status WriteFileAtomically(const std::filesystem::path& target, const void* data, std::size_t size);

/// The same, with the content produced by `produce`.
Status WriteFileAtomically(const std::filesystem::path& target, const Producer& produce);

/// The same with the kind of temporary chosen.
Status WriteFileAtomically(const std::filesystem::path& target, const Producer& produce,
                           TemporaryKind kind);

class FileWriter;

/// A file written in full but not yet in its target's place: the two halves of
/// WriteFileAtomically apart, so that files written on several threads at once are put in
/// place in an order of the caller's. Dropped without Commit, the written file goes and the
/// target stays as it was.
class PendingFile {
 public:
  /// Writes the content, as WriteFileAtomically does, up to the step that puts it in place.
  static Result<PendingFile> Write(const std::filesystem::path& target, const Producer& produce,
                                   TemporaryKind kind = TemporaryKind::Unnamed);

  /// An empty temporary for `target`, to be written by WriteAt, in pieces in any order.
  static Result<PendingFile> Create(const std::filesystem::path& target,
                                    TemporaryKind kind = TemporaryKind::Unnamed);

  /// Writes `size` bytes at `offset` of a file that Create made. On failure the message is the
  /// reason, and the file is not to be put in place.
  Status WriteAt(std::uint64_t offset, const void* data, std::size_t size);

  PendingFile(PendingFile&& other) noexcept;
  PendingFile& operator=(PendingFile&&) = delete;
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile();

  /// Puts the file in the target's place; once. On failure the message is the reason, and the
  /// target is untouched.
  Status Commit();

 private:
  PendingFile(int fd, std::string name, std::filesystem::path target);

  int fd_ = -1;
  std::string name_;  // the temporary's name while it has one
  std::filesystem::path target_;
  std::unique_ptr<FileWriter> writer_;  // WriteAt's, made at its first call
};

}  // namespace kinetta::base

// Atomic file replacement with POSIX calls: write an unnamed file in the target's folder (or a
// locked, hidden temporary where that cannot be), then put it in the target's place in one step.
#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "base/messages.h"
#include "base/text_lookup.h"

namespace kinetta::base {

namespace {

// The process's file-creation mask, read once. The kernel reports it in /proc/self/status; only
// where that is missing is it read the one other way, by setting it and putting it back, which
// for that moment leaves it at 0 for every thread. Setting it for each file, from the
// conversion worker and the user-interface thread at once, could leave it at 0 for good.
mode_t ProcessUmask() {
  static const mode_t mask = [] {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("Umask:", 0) == 0) {
        return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
      }
    }
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
  }();
  return mask;
}

// Puts the finished temporary file in the target's place. Over an existing regular file the two
// names are swapped in one step and the old file is then deleted: the target name holds a
// complete file at every moment, and ext4 does not force the new file out to disk at once, as it
// does when a rename replaces a file (which made re-rendering over earlier frames twice as slow).
// Elsewhere, or where the swap is not supported, a plain rename does the same job.
Status PutInPlace(const std::string& tmp, const std::filesystem::path& target) {
  struct stat st {};
  if (::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
      ::renameat2(AT_FDCWD, tmp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
    ::unlink(tmp.c_str());
    return Status::Ok();
  }
  return ::rename(tmp.c_str(), target.c_str()) == 0 ? Status::Ok() : SystemFailure(errno);
}

constexpr std::string_view kTemporaryPrefix = ".kinetta-";
constexpr std::size_t kTemporaryLetters = 6;

// A temporary name in `folder`: the hidden prefix and six random letters, 15 bytes whatever
// the target's name, so it always fits where the target's name fits.
std::string TemporaryName(const std::filesystem::path& folder) {
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937_64 random{std::random_device{}()};
  std::string name(kTemporaryPrefix);
  for (std::size_t i = 0; i < kTemporaryLetters; ++i) name += kLetters[random() % 62];
  return (folder / name).string();
}

// The file being written: its descriptor, and its name while it has one. A file made with
// O_TMPFILE has no name until it is complete, so a run killed while writing leaves nothing
// behind. Over an existing file it takes a hidden name for the instant of the swap (the system
// cannot link a file over another), and a run killed in that instant leaves that name. Where the
// file system cannot make one, a named temporary is used; it is locked while this process holds
// it, so that a later run can tell one a killed run left behind and remove it.
struct Temporary {
  int fd = -1;
  std::string name;  // empty while the file has none
};

Result<Temporary> CreateNamed(const std::filesystem::path& folder) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    Temporary t{-1, TemporaryName(folder)};
    t.fd = ::open(t.name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (t.fd < 0) {
      if (errno == EEXIST) continue;
      return SystemFailure(errno);
    }
    // Taken by a cleaner between creation and lock (it removed the name): start again.
    struct stat st {};
    if (::flock(t.fd, LOCK_EX) == 0 && ::fstat(t.fd, &st) == 0 && st.st_nlink > 0) return t;
    ::close(t.fd);
  }
  return SystemFailure(EEXIST);
}

Result<Temporary> CreateTemporary(const std::filesystem::path& folder, TemporaryKind kind) {
  if (kind == TemporaryKind::Unnamed) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::flock(fd, LOCK_EX);  // the name it gets at the end is then locked too
      return Temporary{fd, {}};
    }
    // Only a file system without unnamed files goes on to a named one.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return SystemFailure(errno);
  }
  return CreateNamed(folder);
}

// Gives an unnamed file a name: the target's itself where there is no file by that name yet,
// else a temporary one.
Status GiveName(Temporary& t, const std::filesystem::path& target) {
  const std::string self = "/proc/self/fd/" + std::to_string(t.fd);
  struct stat st {};
  if (::lstat(target.c_str(), &st) != 0 && errno == ENOENT) {
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return Status::Ok();
    }
    if (errno != EEXIST) return SystemFailure(errno);
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = TemporaryName(target.parent_path().empty() ? "." : target.parent_path());
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      t.name = std::move(name);
      return Status::Ok();
    }
    if (errno != EEXIST) return SystemFailure(errno);
  }
  return SystemFailure(EEXIST);
}

// Puts the complete file `t` at `target`.
Status Finish(Temporary& t, const std::filesystem::path& target) {
  if (t.name.empty()) {
    if (Status named = GiveName(t, target); !named.ok()) return named;
    if (t.name.empty()) return Status::Ok();  // linked in as the target itself
  }
  return PutInPlace(t.name, target);
}

}  // namespace

// Writes the file's bytes. Large pieces go through a pipe: vmsplice lends the pipe the
// caller's pages and splice has the kernel copy them into the file from there, where write()
// copies them from the process's memory, which on some virtual machines falls into a mode
// several times slower (two gigabytes of frames took 1 to 3.5 s of system time by write() and
// 0.3 s through the pipe). Every byte lent is in the file before Write returns, so the caller
// may reuse its buffer at once. Where the system or the file system refuses the pipe, the rest
// goes by write(). WriteAt writes at a place of the caller's instead of the file's own offset.
class FileWriter {
 public:
  explicit FileWriter(int fd) : fd_(fd) {}
  ~FileWriter() {
    if (pipe_[0] >= 0) ::close(pipe_[0]);
    if (pipe_[1] >= 0) ::close(pipe_[1]);
  }
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  /// The first write that failed: a producer may go on after it (an encoder hands on the whole
  /// file in one write and leaves its failure to the file), and the file still fails with it.
  const Status& failure() const { return failure_; }

  Status Write(const void* data, std::size_t size) {
    Status written = WriteBytes(data, size);
    if (!written.ok() && failure_.ok()) failure_ = written;
    return written;
  }

  Status WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
    at_ = static_cast<loff_t>(offset);
    positioned_ = true;
    Status written = Write(data, size);
    positioned_ = false;
    return written;
  }

 private:
  // Pieces of at least this size go through the pipe; small files gain nothing from it.
  static constexpr std::size_t kPipeFrom = std::size_t{64} << 10;
  static constexpr int kPipeBytes = 1 << 20;

  Status WriteBytes(const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    if (size >= kPipeFrom && OpenPipe()) {
      while (size > 0) {
        const std::size_t lent = Lend(p, size);
        if (lent == 0) break;  // the pipe refused: the rest by write()
        if (Status drained = Drain(lent, p); !drained.ok()) return drained;
        p += lent;
        size -= lent;
      }
    }
    return PlainWrite(p, size);
  }

  bool OpenPipe() {
    if (pipe_[0] >= 0) return true;
    if (refused_ || ::pipe2(pipe_, O_CLOEXEC) != 0) {
      refused_ = true;
      return false;
    }
    ::fcntl(pipe_[1], F_SETPIPE_SZ, kPipeBytes);  // larger steps where allowed
    return true;
  }

  // Lends up to `size` bytes at `p` to the pipe; 0 when the pipe is refused from here on.
  std::size_t Lend(const char* p, std::size_t size) {
    for (;;) {
      iovec v{const_cast<char*>(p), size};
      const ssize_t n = ::vmsplice(pipe_[1], &v, 1, 0);
      if (n > 0) return static_cast<std::size_t>(n);
      if (n < 0 && errno == EINTR) continue;
      refused_ = true;
      return 0;
    }
  }

  // Moves the `lent` bytes in the pipe, which came from `p`, into the file. Where the file
  // system refuses splice before any byte of them moved, they are written from `p` instead.
  Status Drain(std::size_t lent, const char* p) {
    std::size_t moved = 0;
    while (moved < lent) {
      const ssize_t n = ::splice(pipe_[0], nullptr, fd_, positioned_ ? &at_ : nullptr, lent - moved,
                                 SPLICE_F_MOVE);
      if (n > 0) {
        moved += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && moved == 0 && (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
        // Not this file system: empty the pipe, and write by write() from now on.
        ::close(pipe_[0]);
        ::close(pipe_[1]);
        pipe_[0] = pipe_[1] = -1;
        refused_ = true;
        return PlainWrite(p, lent);
      }
      return SystemFailure(n < 0 ? errno : EIO);
    }
    return Status::Ok();
  }

  Status PlainWrite(const char* p, std::size_t size) {
    while (size > 0) {
      const ssize_t n = positioned_ ? ::pwrite(fd_, p, size, at_) : ::write(fd_, p, size);
      if (n < 0) {
        if (errno == EINTR) continue;
        return SystemFailure(errno);
      }
      p += n;
      size -= static_cast<std::size_t>(n);
      if (positioned_) at_ += n;
    }
    return Status::Ok();
  }

  int fd_;
  bool positioned_ = false;  // writing at at_, which each write moves on
  loff_t at_ = 0;
  int pipe_[2] = {-1, -1};
  bool refused_ = false;
  Status failure_;
};

void RemoveStaleTemporaries(const std::filesystem::path& folder) {
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder.empty() ? "." : folder, error), end;
       !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.size() != kTemporaryPrefix.size() + kTemporaryLetters ||
        name.rfind(kTemporaryPrefix, 0) != 0) {
      continue;
    }
    const int fd = ::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    // Locked: a writer, in this process or another, still holds it.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      ::unlink(it->path().c_str());
    }
    ::close(fd);
  }
}

PendingFile::PendingFile(int fd, std::string name, std::filesystem::path target)
    : fd_(fd), name_(std::move(name)), target_(std::move(target)) {}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      name_(std::exchange(other.name_, {})),
      target_(std::move(other.target_)),
      writer_(std::move(other.writer_)) {}

PendingFile::~PendingFile() {
  // Never put in place: the written file goes.
  if (fd_ >= 0) ::close(fd_);
  if (!name_.empty()) ::unlink(name_.c_str());
}

Result<PendingFile> PendingFile::Write(const std::filesystem::path& target, const Producer& produce,
                                       TemporaryKind kind) {
  const std::filesystem::path folder =
      target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
  Result<Temporary> created = CreateTemporary(folder, kind);
  if (!created.ok()) return created.status();
  // From here the file is this object's: content that breaks off with an error (memory ran
  // out, say) leaves no temporary behind.
  PendingFile file(created.value().fd, std::move(created.value().name), target);
  FileWriter writer(file.fd_);
  const Status produced =
      produce([&](const void* data, std::size_t size) { return writer.Write(data, size); });
  if (!writer.failure().ok()) return writer.failure();
  if (!produced.ok()) return produced;
  // The temporary is created readable by the owner only; give it the usual permissions.
  ::fchmod(file.fd_, 0666 & ~ProcessUmask());
  return file;
}

Result<PendingFile> PendingFile::Create(const std::filesystem::path& target, TemporaryKind kind) {
  return Write(
      target, [](const Writer&) { return Status::Ok(); }, kind);
}

Status PendingFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
  if (fd_ < 0) return Status::Failed(Cause::Io, Text(kWriteBrokenOffReason));
  if (!writer_) writer_ = std::make_unique<FileWriter>(fd_);
  if (offset > static_cast<std::uint64_t>(std::numeric_limits<loff_t>::max()) - size) {
    return SystemFailure(EFBIG);
  }
  return writer_->WriteAt(offset, data, size);
}

Status PendingFile::Commit() {
  if (fd_ < 0) return Status::Failed(Cause::Io, Text(kWriteBrokenOffReason));
  writer_.reset();  // its pipe is not needed any more
  Temporary tmp{fd_, name_};
  Status put = Finish(tmp, target_);
  name_ = put.ok() ? std::string() : std::move(tmp.name);  // in place, or still to go
  // Closed last: the lock on a named temporary holds until it is in place.
  if (::close(std::exchange(fd_, -1)) != 0 && put.ok()) put = SystemFailure(errno);
  if (!put.ok()) {
    if (!name_.empty()) ::unlink(name_.c_str());
    name_.clear();
  }
  return put;
}

Status WriteFileAtomically(const std::filesystem::path& target, const Producer& produce,
                           TemporaryKind kind) {
  Result<PendingFile> file = PendingFile::Write(target, produce, kind);
  if (!file.ok()) return file.status();
  return file.value().Commit();
}

Status WriteFileAtomically(const std::filesystem::path& target, const Producer& produce) {
  return WriteFileAtomically(target, produce, TemporaryKind::Unnamed);
}

Status WriteFileAtomically(const std::filesystem::path& target, const void* data,
                           std::size_t size) {
  return WriteFileAtomically(target, [&](const Writer& write) { return write(data, size); });
}

}  // namespace kinetta::base

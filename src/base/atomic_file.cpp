// Atomic file replacement with POSIX calls: create a unique temporary beside the target, write,
// close, then put it in the target's place in one step.
#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace kinetta::base {

namespace {

std::string Reason(int err) { return std::strerror(err); }

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
int PutInPlace(const std::string& tmp, const std::filesystem::path& target) {
  struct stat st {};
  if (::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
      ::renameat2(AT_FDCWD, tmp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
    ::unlink(tmp.c_str());
    return 0;
  }
  return ::rename(tmp.c_str(), target.c_str());
}

}  // namespace

Status WriteFileAtomically(
    const std::filesystem::path& target,
    const std::function<bool(const std::function<bool(const void*, std::size_t)>&)>& produce) {
  std::string tmp = target.string() + ".XXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) return Status::Failed(Reason(errno));
  int writeError = 0;
  auto write = [&](const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      const ssize_t n = ::write(fd, p, size);
      if (n < 0) {
        if (errno == EINTR) continue;
        writeError = errno;
        return false;
      }
      p += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  };
  bool ok = false;
  try {
    ok = produce(write) && writeError == 0;
  } catch (...) {
    // The content broke off with an error (memory ran out, say): no temporary file stays.
    ::close(fd);
    ::unlink(tmp.c_str());
    throw;
  }
  // mkstemp creates the file readable by the owner only; give it the usual permissions.
  ::fchmod(fd, 0666 & ~ProcessUmask());
  if (::close(fd) != 0 && ok) {
    writeError = errno;
    ok = false;
  }
  if (ok && PutInPlace(tmp, target) != 0) {
    writeError = errno;
    ok = false;
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    return Status::Failed(writeError ? Reason(writeError) : "書き込みが中断されました");
  }
  return Status::Ok();
}

Status WriteFileAtomically(const std::filesystem::path& target, const void* data,
                           std::size_t size) {
  return WriteFileAtomically(target, [&](const auto& write) { return write(data, size); });
}

}  // namespace kinetta::base

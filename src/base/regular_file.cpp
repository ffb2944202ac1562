// Whole-file reads with POSIX calls on the path's own bytes.
#include "base/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "base/messages.h"

namespace kinetta::base {

namespace {

// Closes the descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

Result<std::vector<std::uint8_t>> ReadRegularFile(const std::filesystem::path& path,
                                                  std::size_t maxBytes) {
  using Bytes = Result<std::vector<std::uint8_t>>;
  // Why the file could not be opened or read: missing, no permission, and so on, in Japanese.
  const auto cannotRead = [] { return Bytes::Failed(SystemErrorText(errno)); };
  const Bytes tooLarge = Bytes::Failed("ファイルが大きすぎます");
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) return cannotRead();
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return cannotRead();
  if (!S_ISREG(st.st_mode)) return Bytes::Failed("通常のファイルではありません");
  if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > maxBytes) return tooLarge;
  // Read to the end rather than trusting the size alone: a file that grows while it is read is
  // still cut at the limit, one that shrinks gives what it holds.
  std::vector<std::uint8_t> data(static_cast<std::size_t>(st.st_size) + 1);
  std::size_t filled = 0;
  for (;;) {
    if (filled == data.size()) {
      if (data.size() > maxBytes) return tooLarge;
      data.resize(std::min(maxBytes + 1, data.size() * 2));
    }
    const ssize_t n = ::read(fd.get(), data.data() + filled, data.size() - filled);
    if (n < 0) {
      if (errno == EINTR) continue;
      return cannotRead();
    }
    if (n == 0) break;
    filled += static_cast<std::size_t>(n);
  }
  data.resize(filled);
  return data;
}

}  // namespace kinetta::base

// Regular-file reads with POSIX calls on the path's own bytes.
#include "base/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "base/messages.h"
#include "base/text_lookup.h"

namespace kinetta::base {

Result<RegularFile> RegularFile::Open(const std::filesystem::path& path, std::size_t maxBytes) {
  // Why the file could not be opened: missing, no permission, and so on, in Japanese.
  const auto cannotOpen = [] { return Result<RegularFile>(SystemFailure(errno)); };
  // Owned from here, so that every way out closes it.
  RegularFile file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC), 0, maxBytes);
  if (file.fd_ < 0) return cannotOpen();
  struct stat st {};
  if (::fstat(file.fd_, &st) != 0) return cannotOpen();
  if (!S_ISREG(st.st_mode)) {
    return Result<RegularFile>::Failed(Cause::Unsupported, Text(kNotARegularFileReason));
  }
  if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > maxBytes) {
    return Result<RegularFile>::Failed(Cause::TooLarge, Text(kFileTooLargeReason));
  }
  file.size_ = static_cast<std::size_t>(st.st_size);
  return file;
}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_), maxBytes_(other.maxBytes_) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    size_ = other.size_;
    maxBytes_ = other.maxBytes_;
  }
  return *this;
}

RegularFile::~RegularFile() {
  if (fd_ >= 0) ::close(fd_);
}

Result<std::size_t> RegularFile::ReadAt(std::size_t offset, std::span<std::uint8_t> into) const {
  std::size_t filled = 0;
  while (filled < into.size()) {
    const ssize_t n = ::pread(fd_, into.data() + filled, into.size() - filled,
                              static_cast<off_t>(offset + filled));
    if (n < 0) {
      if (errno == EINTR) continue;
      return SystemFailure(errno);
    }
    if (n == 0) break;
    filled += static_cast<std::size_t>(n);
  }
  return filled;
}

Result<std::vector<std::uint8_t>> RegularFile::ReadToEnd(std::vector<std::uint8_t> start) const {
  using Bytes = Result<std::vector<std::uint8_t>>;
  // Read to the end rather than trusting the size alone: a file that grows while it is read is
  // still cut at the limit, one that shrinks gives what it holds. One byte past the size asks
  // for the end in the same read.
  std::vector<std::uint8_t> data = std::move(start);
  std::size_t filled = data.size();
  data.resize(std::max(filled, size_) + 1);
  for (;;) {
    if (filled == data.size()) {
      if (data.size() > maxBytes_) {
        return Bytes::Failed(Cause::TooLarge, Text(kFileTooLargeReason));
      }
      data.resize(std::min(maxBytes_ + 1, data.size() * 2));
    }
    const std::size_t wanted = data.size() - filled;
    const Result<std::size_t> n = ReadAt(filled, std::span(data).subspan(filled));
    if (!n.ok()) return n.status();
    filled += n.value();
    if (n.value() < wanted) break;  // the end of the file
  }
  data.resize(filled);
  return data;
}

Result<std::vector<std::uint8_t>> ReadRegularFile(const std::filesystem::path& path,
                                                  std::size_t maxBytes) {
  const Result<RegularFile> file = RegularFile::Open(path, maxBytes);
  if (!file.ok()) return file.status();
  return file.value().ReadToEnd({});
}

}  // namespace kinetta::base

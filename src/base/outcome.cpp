// The causes of the system's error numbers.
#include "base/outcome.h"

#include <cerrno>

namespace kinetta::base {

Cause CauseOfErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return Cause::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return Cause::NoPermission;
    case ENOSPC:
    case EDQUOT:
      return Cause::NoSpace;
    case EFBIG:
      return Cause::TooLarge;
    case ENOMEM:
      return Cause::OutOfMemory;
    default:
      return Cause::Io;
  }
}

Cause CauseOf(const std::error_code& error) {
  if (error.category() == std::generic_category() || error.category() == std::system_category()) {
    return CauseOfErrno(error.value());
  }
  return Cause::Io;
}

}  // namespace kinetta::base

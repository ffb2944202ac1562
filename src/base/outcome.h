// How an operation that can fail says so: a Status (done, or failed with its cause and the
// sentence for the user), or a Result that holds either the value made or that failure. Callers
// branch on the cause; the user reads the sentence. Both are returned, never written into
// arguments.
#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace kinetta::base {

/// Why an operation failed, for the code that decides what to do next.
enum class Cause {
  NotFound,      ///< a file or folder that is not there; no frames to read
  NoPermission,  ///< not allowed: no access, a read-only file system
  NoSpace,       ///< the disk or the user's quota is full
  TooLarge,      ///< past a limit: a file's size, a format's sides, the memory a job may take
  OutOfMemory,   ///< memory ran out while working
  BrokenData,    ///< a file whose content breaks its format's rules or ends too soon
  Unsupported,   ///< a kind of file or a variant the program does not read or write
  BadArgument,   ///< a value the user typed or gave that is refused, or one file asked twice
  BadSetting,    ///< settings that ask for what cannot be made (no such motion, no pixel)
  WouldReplace,  ///< the file to write is one that must stay: the source or one of its frames
  Aborted,       ///< stopped by the user
  Io,            ///< any other failure of the system or a library while reading or writing
  Unexpected,    ///< an error the program did not foresee
};

/// The cause of a system error number (errno): ENOENT and ENOTDIR are NotFound, EACCES, EPERM
/// and EROFS NoPermission, ENOSPC and EDQUOT NoSpace, EFBIG TooLarge, ENOMEM OutOfMemory,
/// any other Io.
Cause CauseOfErrno(int error);

/// The same for an error code of the standard library; a code of another category is Io.
Cause CauseOf(const std::error_code& error);

/// Done, or failed with its cause and a sentence for the user. A default Status is a success.
class [[nodiscard]] Status {
 public:
  Status() = default;
  static Status Ok() { return {}; }
  static Status Failed(Cause cause, std::string_view message) {
    return Status(cause, std::string(message));
  }

  bool ok() const { return !failed_; }
  /// Why it failed; Cause::Unexpected on success, where no one should ask.
  Cause cause() const { return cause_; }
  /// What failed and why, for the user; empty on success.
  const std::string& message() const { return message_; }

 private:
  Status(Cause cause, std::string message)
      : failed_(true), cause_(cause), message_(std::move(message)) {}

  bool failed_ = false;
  Cause cause_ = Cause::Unexpected;
  std::string message_;
};

/// The value made, or the failure saying why there is none.
template <class T>
class [[nodiscard]] Result {
 public:
  /// Implicit, so that a function returns its value as it is.
  Result(T value) : value_(std::move(value)) {}
  /// Implicit, so that a function passes on a failure as it is; `failure` is not ok.
  Result(Status failure) : status_(std::move(failure)) { assert(!status_.ok()); }
  static Result Failed(Cause cause, std::string_view message) {
    return Result(Status::Failed(cause, message));
  }

  bool ok() const { return value_.has_value(); }
  /// The value; asking a failed result for it throws std::bad_optional_access.
  const T& value() const& { return value_.value(); }
  T& value() & { return value_.value(); }
  T&& value() && { return std::move(value_.value()); }
  /// Success, or the failure with its cause and message.
  const Status& status() const { return status_; }
  Cause cause() const { return status_.cause(); }
  /// Why there is no value; empty on success.
  const std::string& message() const { return status_.message(); }

 private:
  std::optional<T> value_;
  Status status_;
};

}  // namespace kinetta::base

// How an operation that can fail says so: a Status (done, or failed with the message for the
// user), or a Result that holds either the value made or that message. Both are returned,
// never written into arguments.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace kinetta::base {

/// Done, or failed with a message for the user. A default Status is a success.
class [[nodiscard]] Status {
 public:
  Status() = default;
  static Status Ok() { return {}; }
  static Status Failed(std::string message) { return Status(std::move(message)); }

  bool ok() const { return !failed_; }
  /// What failed and why; empty on success.
  const std::string& message() const { return message_; }

 private:
  explicit Status(std::string message) : failed_(true), message_(std::move(message)) {}

  bool failed_ = false;
  std::string message_;
};

/// The value made, or the message for the user saying why there is none.
template <class T>
class [[nodiscard]] Result {
 public:
  /// Implicit, so that a function returns its value as it is.
  Result(T value) : value_(std::move(value)) {}
  static Result Failed(std::string message) { return Result(std::nullopt, std::move(message)); }

  bool ok() const { return value_.has_value(); }
  /// The value; asking a failed result for it throws std::bad_optional_access.
  const T& value() const& { return value_.value(); }
  T& value() & { return value_.value(); }
  T&& value() && { return std::move(value_.value()); }
  /// Why there is no value; empty on success.
  const std::string& message() const { return message_; }

 private:
  Result(std::nullopt_t, std::string message) : message_(std::move(message)) {}

  std::optional<T> value_;
  std::string message_;
};

}  // namespace kinetta::base

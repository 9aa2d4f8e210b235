// Errors as values: every core and platform operation that can fail returns a
// Status or a Result<T>; only the windows turn a failure into a message box.
#pragma once

#include <string>
#include <utility>

namespace tempodial {

class Status {
 public:
  static Status Ok() { return Status(); }
  static Status Error(std::string reason) { return Status(std::move(reason)); }

  // Returns true iff the operation succeeded.
  bool ok() const { return !failed_; }
  // A reason a user can read ("Permission denied"); empty when ok().
  const std::string& reason() const { return reason_; }

 private:
  Status() = default;
  explicit Status(std::string reason) : failed_(true), reason_(std::move(reason)) {}
  bool failed_ = false;
  std::string reason_;
};

template <typename T>
class Result {
 public:
  static Result Value(T value) { return Result(std::move(value), Status::Ok()); }
  static Result Error(std::string reason) { return Result(T{}, Status::Error(std::move(reason))); }
  static Result FromStatus(Status status) { return Result(T{}, std::move(status)); }

  bool ok() const { return status_.ok(); }
  const Status& status() const { return status_; }
  const std::string& reason() const { return status_.reason(); }
  // Requires ok(); otherwise holds a default-constructed T.
  const T& value() const { return value_; }
  T& value() { return value_; }

 private:
  Result(T value, Status status) : value_(std::move(value)), status_(std::move(status)) {}
  T value_;
  Status status_;
};

}  // namespace tempodial

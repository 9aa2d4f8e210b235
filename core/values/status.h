// Errors as values: every core and platform operation that can fail returns a
// Status or a Result<T>; only the windows turn a failure into a message box.
// A failure has a kind, for a caller that acts on what failed (a journal that
// is no sound journal is moved aside; one that cannot be written is not).
#pragma once

#include <string>
#include <utility>

namespace tempodial {

enum class StatusKind {
  Ok,
  Failed,      // could not be done (a disk, a permission, a device)
  NotFound,    // what was asked for is not there
  Unreadable,  // there, but cannot be read
  Invalid,     // read, but its content is no sound value of its kind
  Broken,      // a file that is no sound file of its kind, to be moved aside
};

class Status {
 public:
  static Status Ok() { return Status(); }
  static Status Error(std::string reason, StatusKind kind = StatusKind::Failed) {
    return Status(std::move(reason), kind);
  }

  // Returns true iff the operation succeeded.
  bool ok() const { return kind_ == StatusKind::Ok; }
  StatusKind kind() const { return kind_; }
  // A reason a user can read ("Permission denied"); empty when ok().
  const std::string& reason() const { return reason_; }

 private:
  Status() = default;
  Status(std::string reason, StatusKind kind)
      : kind_(kind == StatusKind::Ok ? StatusKind::Failed : kind), reason_(std::move(reason)) {}
  StatusKind kind_ = StatusKind::Ok;
  std::string reason_;
};

template <typename T>
class Result {
 public:
  static Result Value(T value) { return Result(std::move(value), Status::Ok()); }
  static Result Error(std::string reason, StatusKind kind = StatusKind::Failed) {
    return Result(T{}, Status::Error(std::move(reason), kind));
  }
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

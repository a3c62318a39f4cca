// What went wrong, as logic hands it back: the message the user is shown, its detail, and the
// line the error log gets. Logic never shows it; the window or command that called decides
// how it is told (a message box, a line on stderr).
#pragma once

#include <QString>
#include <utility>
#include <variant>

struct Failure {
  QString text;    // one of the program's messages ("Gravando na tabela !")
  QString detail;  // what it is about (a table's name); may be empty
  QString log;     // the technical cause, for the error log; empty when there is none
};

// Writes the failure's log line (when it has one) and shows it as an information box.
void tell(const Failure& failure);

// The value of a piece of work, or what made it fail.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Failure failure) : state_(std::move(failure)) {}

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }
  const T& operator*() const { return std::get<T>(state_); }
  T& operator*() { return std::get<T>(state_); }
  const T* operator->() const { return &std::get<T>(state_); }
  const Failure& failure() const { return std::get<Failure>(state_); }
  friend bool operator==(const Result& result, const T& value) {
    return result.ok() && *result == value;
  }
  // For windows: true when the work was done; otherwise the user is told what failed.
  bool okOrTell() const {
    if (!ok()) tell(failure());
    return ok();
  }

 private:
  std::variant<T, Failure> state_;
};

// Work that gives back nothing but whether it was done.
struct Done {};
using Outcome = Result<Done>;

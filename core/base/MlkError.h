#pragma once

#include <stdexcept>
#include <string>

namespace mlk {

// An error that carries the system's own message (UTF-8). Every failure that should reach the
// user -- database, file, conversion or refusal -- is thrown as one of these; the windows catch it
// at the event handler and show the standard error box.
class MlkError : public std::runtime_error {
  public:
    explicit MlkError(const std::string& message) : std::runtime_error(message) {}
};

// A failure reported by the SQLite engine, with the engine's message.
class DbError : public MlkError {
  public:
    DbError(const std::string& message, int code) : MlkError(message), code_(code) {}
    int code() const { return code_; }

  private:
    int code_;
};

}  // namespace mlk

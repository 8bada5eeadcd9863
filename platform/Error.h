// The typed runtime errors that the controls and codecs raise to their callers.
#pragma once
#include <stdexcept>
#include <string>

namespace xpkit {

enum class ErrorCode {
  InvalidProcedureCall = 5,
  Overflow = 6,
  OutOfMemory = 7,
  SubscriptOutOfRange = 9,
  TypeMismatch = 13,
  FileNotFound = 53,
  FileAccess = 75,
};

// The standard description of each error code ("Overflow", ...).
const char* Describe(ErrorCode code);

class Error : public std::runtime_error {
 public:
  explicit Error(ErrorCode code) : std::runtime_error(Describe(code)), code_(code) {}
  // `detail` says what and where, e.g. the file that could not be opened.
  Error(ErrorCode code, const std::string& detail)
      : std::runtime_error(std::string(Describe(code)) + ": " + detail), code_(code) {}
  ErrorCode code() const { return code_; }

 private:
  ErrorCode code_;
};

inline const char* Describe(ErrorCode code) {
  switch (code) {
    case ErrorCode::InvalidProcedureCall: return "Invalid procedure call or argument";
    case ErrorCode::Overflow: return "Overflow";
    case ErrorCode::OutOfMemory: return "Out of memory";
    case ErrorCode::SubscriptOutOfRange: return "Subscript out of range";
    case ErrorCode::TypeMismatch: return "Type mismatch";
    case ErrorCode::FileNotFound: return "File not found";
    case ErrorCode::FileAccess: return "Path/File access error";
  }
  return "Application-defined or object-defined error";
}

}  // namespace xpkit

// The one error type the kit and the codecs throw: a code saying what kind of failure it
// is, and a message saying what went wrong and where (a file, a line, a key). Each layer
// derives its own: FileError (files/), LayoutError (layout/).
#pragma once
#include <stdexcept>
#include <string>

#include "xpkit/codepage/PrintableName.h"

namespace xpkit {

enum class ErrorCode {
  // The runtime errors the controls and codecs raise to their callers.
  InvalidProcedureCall = 5,
  Overflow = 6,
  OutOfMemory = 7,
  SubscriptOutOfRange = 9,
  TypeMismatch = 13,
  FileNotFound = 53,
  FileAccess = 75,
  // The kit's own.
  BadUsage = 1001,     // a program or tool called the wrong way
  BadLayout = 1002,    // a layout that cannot be read, built or written
  BadCodePage = 1003,  // an unsupported ANSI code page
  NoDisplay = 1004,    // no display to show a window on
  DisplayLost = 1005,  // the display or the window went away while running
  TooManySessions = 1006,
  NoFont = 1007,       // no installed face to draw a text with
  DisplayUnusable = 1008,  // a display that is there but cannot take a window's input
};

// The standard description of each error code ("Overflow", ...).
constexpr const char* Describe(ErrorCode code) {
  switch (code) {
    case ErrorCode::InvalidProcedureCall: return "Invalid procedure call or argument";
    case ErrorCode::Overflow: return "Overflow";
    case ErrorCode::OutOfMemory: return "Out of memory";
    case ErrorCode::SubscriptOutOfRange: return "Subscript out of range";
    case ErrorCode::TypeMismatch: return "Type mismatch";
    case ErrorCode::FileNotFound: return "File not found";
    case ErrorCode::FileAccess: return "Path/File access error";
    case ErrorCode::BadUsage: return "Bad usage";
    case ErrorCode::BadLayout: return "Bad layout";
    case ErrorCode::BadCodePage: return "Unsupported code page";
    case ErrorCode::NoDisplay: return "No display";
    case ErrorCode::DisplayLost: return "Display lost";
    case ErrorCode::TooManySessions: return "Too many sessions";
    case ErrorCode::NoFont: return "No font";
    case ErrorCode::DisplayUnusable: return "Display unusable";
  }
  return "Application-defined or object-defined error";
}

class Error : public std::runtime_error {
 public:
  // what(): the code's description.
  explicit Error(ErrorCode code) : Error(code, {}, Describe(code)) {}
  // what(): the code's description, then `detail` (what and where).
  Error(ErrorCode code, const std::string& detail) : Error(code, {}, std::string(Describe(code)) + ": " + detail) {}

  // what(): "WHERE: MESSAGE", or MESSAGE alone when `where` is empty. WHERE, a file name
  // from outside, is shown escaped (see PrintableName); where() keeps it as it is.
  Error(ErrorCode code, std::string where, const std::string& message)
      : std::runtime_error(where.empty() ? message : PrintableName(where) + ": " + message),
        code_(code), where_(std::move(where)) {}

  ErrorCode code() const { return code_; }
  // Where it happened ("frmMain.layout:12", a file name), or empty.
  const std::string& where() const { return where_; }

 private:
  ErrorCode code_;
  std::string where_;
};

}  // namespace xpkit

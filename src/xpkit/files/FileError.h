// The error of the files: a file that cannot be read or written.
#pragma once
#include <string>
#include <utility>

#include "xpkit/Error.h"

namespace xpkit {

// A file that cannot be read or written: "PATH: REASON".
class FileError : public Error {
 public:
  FileError(const std::string& path, std::string reason)
      : Error(ErrorCode::FileAccess, path, reason), reason_(std::move(reason)) {}
  const std::string& path() const { return where(); }
  const std::string& reason() const { return reason_; }

 private:
  std::string reason_;
};

}  // namespace xpkit

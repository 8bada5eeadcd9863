// The error of the layouts: a fault in a layout, with its source and line.
#pragma once
#include <string>
#include <utility>

#include "xpkit/Error.h"

namespace xpkit {

// A fault in a layout: "SOURCE:LINE: MESSAGE"; `key` is the attribute or property the
// line sets, when the fault is in one.
class LayoutError : public Error {
 public:
  LayoutError(const std::string& source, int line, const std::string& message, std::string key = {})
      : Error(ErrorCode::BadLayout, source + ":" + std::to_string(line), message),
        source_(source), line_(line), key_(std::move(key)) {}
  const std::string& source() const { return source_; }
  int line() const { return line_; }
  const std::string& key() const { return key_; }

 private:
  std::string source_;
  int line_;
  std::string key_;
};

}  // namespace xpkit

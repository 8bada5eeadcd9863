// Layout files on disk. Writing goes to a temporary file beside the target, renamed over
// it only when complete, so a failure never leaves half a file.
#pragma once
#include <stdexcept>
#include <string>

#include "shell/Layout.h"

namespace xpkit {

// A layout file that cannot be read or written: the message names the file.
struct LayoutFileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

Layout ReadLayoutFile(const std::string& path);
void WriteLayoutFile(const std::string& path, const Layout& layout);

}  // namespace xpkit

// Layout files on disk. Writing goes to a temporary file beside the target, renamed over
// it only when complete, so a failure never leaves half a file.
#pragma once
#include <string>

#include "shell/Layout.h"

namespace xpkit {

Layout ReadLayoutFile(const std::string& path);
void WriteLayoutFile(const std::string& path, const Layout& layout);

}  // namespace xpkit

// PNG output of a Bitmap, alpha kept, written as an OutputFile: a failure never leaves
// half a file behind.
#pragma once
#include <string>

#include "xpkit/files/FileError.h"
#include "xpkit/platform/Bitmap.h"

namespace xpkit {

// Throws FileError naming the path and the reason on failure.
void WritePng(const Bitmap& image, const std::string& path);

}  // namespace xpkit

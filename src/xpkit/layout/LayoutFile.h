// Layout files on disk, written as an OutputFile: a failure never leaves half a file.
#pragma once
#include <string>

#include "xpkit/files/FileError.h"
#include "xpkit/layout/Layout.h"
#include "xpkit/layout/LayoutError.h"

namespace xpkit {

// Reads and parses a layout file; a file that cannot be read is a FileError naming it,
// a fault in its text a LayoutError. Files past 16 MiB are refused: no layout is that long.
Layout ReadLayoutFile(const std::string& path, const ControlRegistry& registry);
Layout ReadLayoutFile(const std::string& path);
// Writes FormatLayout's text; a layout it refuses leaves the file as it was.
void WriteLayoutFile(const std::string& path, const Layout& layout);

}  // namespace xpkit

// PNG files of pictures, alpha kept. Writing goes through an OutputFile, so a failure
// never leaves half a file behind; reading takes any PNG libpng knows as 8-bit RGBA.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "xpkit/files/FileError.h"
#include "xpkit/platform/Bitmap.h"

namespace xpkit {

// A picture the writer takes a row at a time, top to bottom: `row(y)` gives the `width`
// pixels (0xAARRGGBB) of row y, valid until the next call. A picture made on the fly
// (an enlargement) is so never held whole.
struct PictureRows {
  int width = 0, height = 0;
  std::function<const std::uint32_t*(int y)> row;
};

// Throws FileError naming the path and the reason on failure.
void WritePng(const PictureRows& picture, const std::string& path);
void WritePng(const Bitmap& image, const std::string& path);

// Throws FileError naming the path when the file is missing, unreadable or not a PNG.
Bitmap ReadPng(const std::string& path);

}  // namespace xpkit

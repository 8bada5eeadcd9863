// Writes the program's 32 x 32 icon as a PNG, for the desktop entry the build installs.
#include <cstdio>

#include "xpkit/Error.h"
#include "xpkit/platform/PngFile.h"
#include "xpkit/shell/AppIcon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: xpkit_write_icon FILE.png\n");
    return 2;
  }
  try {
    xpkit::WritePng(xpkit::MakeAppIcon(), argv[1]);
  } catch (const xpkit::Error& e) {
    std::fprintf(stderr, "xpkit_write_icon: %s\n", e.what());
    return 1;
  }
  return 0;
}

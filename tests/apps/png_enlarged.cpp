// png_enlarged SMALL.png BIG.png N: status 0 when BIG is N times SMALL's size and every
// pixel of BIG is the pixel of SMALL at (x / N, y / N); else it names the first difference.
#include <cstdio>
#include <cstdlib>

#include "xpkit/files/FileError.h"
#include "xpkit/platform/PngFile.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: png_enlarged SMALL.png BIG.png N\n");
    return 2;
  }
  xpkit::Bitmap small, big;
  try {
    small = xpkit::ReadPng(argv[1]);
    big = xpkit::ReadPng(argv[2]);
  } catch (const xpkit::FileError& e) {
    std::printf("%s\n", e.what());
    return 1;
  }
  const int n = std::atoi(argv[3]);
  if (n < 1 || big.width() != small.width() * n || big.height() != small.height() * n) {
    std::printf("%dx%d is not %d times %dx%d\n", big.width(), big.height(), n, small.width(), small.height());
    return 1;
  }
  for (int y = 0; y < big.height(); ++y)
    for (int x = 0; x < big.width(); ++x)
      if (big.At(x, y) != small.At(x / n, y / n)) {
        std::printf("pixel (%d,%d) is %08X, not %08X\n", x, y, big.At(x, y), small.At(x / n, y / n));
        return 1;
      }
  return 0;
}

// png_enlarged SMALL.png BIG.png N: status 0 when BIG is N times SMALL's size and every
// pixel of BIG is the pixel of SMALL at (x / N, y / N); else it names the first difference.
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Image {
  int width = 0, height = 0;
  std::vector<std::uint32_t> rgba;
  std::uint32_t At(int x, int y) const { return rgba[static_cast<std::size_t>(y) * width + x]; }
};

bool Read(const char* path, Image& out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path)) return false;
  image.format = PNG_FORMAT_RGBA;
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.rgba.resize(static_cast<std::size_t>(out.width) * out.height);
  return png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: png_enlarged SMALL.png BIG.png N\n");
    return 2;
  }
  Image small, big;
  if (!Read(argv[1], small) || !Read(argv[2], big)) {
    std::printf("cannot read %s or %s\n", argv[1], argv[2]);
    return 1;
  }
  const int n = std::atoi(argv[3]);
  if (n < 1 || big.width != small.width * n || big.height != small.height * n) {
    std::printf("%dx%d is not %d times %dx%d\n", big.width, big.height, n, small.width, small.height);
    return 1;
  }
  for (int y = 0; y < big.height; ++y)
    for (int x = 0; x < big.width; ++x)
      if (big.At(x, y) != small.At(x / n, y / n)) {
        std::printf("pixel (%d,%d) is %08X, not %08X\n", x, y, big.At(x, y), small.At(x / n, y / n));
        return 1;
      }
  return 0;
}

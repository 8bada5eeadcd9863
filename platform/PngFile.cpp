#include "platform/PngFile.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include "platform/Error.h"
#include <vector>

namespace xpkit {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

[[noreturn]] void Fail(const std::string& path, const std::string& why) { throw FileError(path, why); }

}  // namespace

void WritePng(const Bitmap& image, const std::string& path) {
  const std::string tmp = path + ".tmp";
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(tmp.c_str(), "wb"));
  if (!f) Fail(path, std::string("cannot create: ") + std::strerror(errno));

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, &info);
    std::filesystem::remove(tmp);
    Fail(path, "out of memory");
  }
  std::vector<png_byte> row(static_cast<std::size_t>(image.width()) * 4);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    f.reset();
    std::filesystem::remove(tmp);
    Fail(path, "cannot write PNG data");
  }
  png_init_io(png, f.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()), 8,
               PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.height(); ++y) {
    const std::uint32_t* src = image.Row(y);
    for (int x = 0; x < image.width(); ++x) {
      row[4 * x + 0] = static_cast<png_byte>(src[x] >> 16);
      row[4 * x + 1] = static_cast<png_byte>(src[x] >> 8);
      row[4 * x + 2] = static_cast<png_byte>(src[x]);
      row[4 * x + 3] = static_cast<png_byte>(src[x] >> 24);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  const bool flushed = std::fflush(f.get()) == 0 && !std::ferror(f.get());
  f.reset();
  std::error_code ec;
  if (!flushed) {
    std::filesystem::remove(tmp, ec);
    Fail(path, "write failed");
  }
  std::filesystem::rename(tmp, path, ec);
  if (ec) {
    std::filesystem::remove(tmp, ec);
    Fail(path, "cannot rename temporary file into place");
  }
}

}  // namespace xpkit

#include "xpkit/platform/PngFile.h"

#include <png.h>

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "xpkit/files/FileError.h"
#include "xpkit/files/InputFile.h"
#include "xpkit/files/OutputFile.h"

namespace xpkit {
namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& why) { throw FileError(path, why); }

void Append(png_structp png, png_bytep data, png_size_t n) {
  auto* bytes = static_cast<std::vector<png_byte>*>(png_get_io_ptr(png));
  bool grown = true;
  try {
    bytes->insert(bytes->end(), data, data + n);
  } catch (const std::bad_alloc&) {
    grown = false;  // no exception may cross libpng's C frames
  }
  if (!grown) png_error(png, "out of memory");
}

void NoFlush(png_structp) {}

// libpng prints nothing of its own: an error keeps its reason for our message and ends
// the encoding through the jump buffer; a warning changes nothing in what is written.
struct Failure {
  char reason[160] = "";
};

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  auto* failure = static_cast<Failure*>(png_get_error_ptr(png));
  std::snprintf(failure->reason, sizeof failure->reason, "%s", message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// The PNG form of `picture`. It is made in memory, so that libpng never has to carry a
// file error through its C code.
std::vector<png_byte> EncodePng(const PictureRows& picture, const std::string& path) {
  std::vector<png_byte> bytes;
  Failure failure;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, OnError, OnWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, &info);
    Fail(path, "out of memory");
  }
  std::vector<png_byte> row(static_cast<std::size_t>(picture.width) * 4);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    Fail(path, "cannot encode the picture as PNG (" + std::string(failure.reason) + ")");
  }
  // Any picture a Bitmap holds fits the format's own bounds, past libpng's default limits.
  png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
  png_set_write_fn(png, &bytes, Append, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height), 8,
               PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint32_t* src = picture.row(y);
    for (int x = 0; x < picture.width; ++x) {
      row[4 * x + 0] = static_cast<png_byte>(src[x] >> 16);
      row[4 * x + 1] = static_cast<png_byte>(src[x] >> 8);
      row[4 * x + 2] = static_cast<png_byte>(src[x]);
      row[4 * x + 3] = static_cast<png_byte>(src[x] >> 24);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

// The whole file, which libpng then decodes from memory: file errors stay ours.
std::string FileBytes(const std::string& path) {
  InputFile in(path);
  if (in.missing()) Fail(path, std::string("cannot open for reading: ") + std::strerror(ENOENT));
  return in.ReadAll();
}

}  // namespace

Bitmap ReadPng(const std::string& path) {
  const std::string bytes = FileBytes(path);
  // libpng's simplified reader keeps its messages in `image` and prints nothing.
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  const auto refuse = [&](const std::string& reason) {
    png_image_free(&image);
    Fail(path, "is not a PNG picture the kit can read (" + reason + ")");
  };
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) refuse(image.message);
  // The byte order that makes each pixel a native 0xAARRGGBB.
  image.format = std::endian::native == std::endian::little ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
  Bitmap bitmap;
  try {
    bitmap = Bitmap(static_cast<int>(image.width), static_cast<int>(image.height));
  } catch (const std::bad_alloc&) {
    refuse(std::to_string(image.width) + "x" + std::to_string(image.height) + " pixels are more than memory holds");
  }
  if (!png_image_finish_read(&image, nullptr, bitmap.data(), 0, nullptr)) refuse(image.message);
  return bitmap;
}

void WritePng(const PictureRows& picture, const std::string& path) {
  const std::vector<png_byte> bytes = EncodePng(picture, path);
  OutputFile out(path);
  out.Write(bytes.data(), bytes.size());
  out.Commit();
}

void WritePng(const Bitmap& image, const std::string& path) {
  WritePng({image.width(), image.height(), [&image](int y) { return image.Row(y); }}, path);
}

}  // namespace xpkit

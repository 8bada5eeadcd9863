// PNG files: pictures past libpng's default limits are written; one libpng refuses is
// reported as a FileError in the kit's words, with nothing printed and no file left.
// Reading gives back every pixel written, alpha included, and turns other PNG forms into
// 0xAARRGGBB; a file that is no PNG is refused in the same words.
#include "xpkit/platform/PngFile.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "xpkit/files/FileError.h"
#include "support/TempFolder.h"

namespace xpkit {
namespace {

namespace fs = std::filesystem;

class PngFileTest : public ::testing::Test {
 protected:
  test::TempFolder folder{"xpkit-png"};
  const fs::path& dir = folder.path();
};

// Taller than libpng's default limit of a million rows, which the format itself allows.
TEST_F(PngFileTest, WritesPicturesPastLibpngsDefaultLimits) {
  const std::string path = (dir / "tall.png").string();
  WritePng(Bitmap(1, 1000001, 0x80FF0000u), path);
  std::ifstream f(path, std::ios::binary);
  std::vector<unsigned char> head(26);
  f.read(reinterpret_cast<char*>(head.data()), 26);
  // The signature, then IHDR: width 1, height 1000001 (0x000F4241), 8 bits, RGBA.
  const std::vector<unsigned char> want{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0,    0,    13,   'I',
                                        'H',  'D', 'R', 0,   0,  0,  1,  0,  0x0F, 0x42, 0x41, 8,    6};
  EXPECT_EQ(head, want);
}

// Each pixel reads back as it was, its alpha kept (not premultiplied), and a grey
// picture without alpha, as another program would write it, as 0xAARRGGBB.
TEST_F(PngFileTest, PixelsReadBackAsTheyWereAndOtherFormsAsArgb) {
  Bitmap image(3, 2);
  const std::uint32_t argb[] = {0xFF102030u, 0x80405060u, 0x00708090u, 0x01FFFFFFu, 0xFE000000u, 0xFFA0B0C0u};
  for (int i = 0; i < 6; ++i) image.Set(i % 3, i / 3, argb[i]);
  const std::string path = (dir / "p.png").string();
  WritePng(image, path);
  EXPECT_EQ(ReadPng(path), image);

  const png_byte grey[] = {0, 128, 255, 7};
  png_image other{};
  other.version = PNG_IMAGE_VERSION;
  other.width = 2;
  other.height = 2;
  other.format = PNG_FORMAT_GRAY;
  const std::string greyPath = (dir / "grey.png").string();
  ASSERT_TRUE(png_image_write_to_file(&other, greyPath.c_str(), 0, grey, 0, nullptr)) << other.message;
  const Bitmap read = ReadPng(greyPath);
  ASSERT_EQ(read.width(), 2);
  EXPECT_EQ(read.pixels(), (std::vector<std::uint32_t>{0xFF000000u, 0xFF808080u, 0xFFFFFFFFu, 0xFF070707u}));
}

// A picture given a row at a time, each asked for once from the top, is the same file as
// the bitmap of those rows.
TEST_F(PngFileTest, RowsGivenOneAtATimeMakeTheSameFile) {
  Bitmap image(300, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) image.Set(x, y, 0x01000000u * static_cast<std::uint32_t>(x ^ y) + 0x9E3779B9u * (x + 7 * y));
  std::vector<int> asked;
  std::vector<std::uint32_t> row(300);
  const PictureRows rows{300, 200, [&](int y) {
                           asked.push_back(y);
                           std::copy_n(image.Row(y), 300, row.begin());
                           return row.data();
                         }};
  const std::string fromRows = (dir / "rows.png").string(), fromBitmap = (dir / "bitmap.png").string();
  WritePng(rows, fromRows);
  WritePng(image, fromBitmap);
  std::vector<int> order(200);
  for (int y = 0; y < 200; ++y) order[y] = y;
  EXPECT_EQ(asked, order);
  auto bytes = [](const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(f), {});
  };
  EXPECT_GT(bytes(fromRows).size(), 1000u);
  EXPECT_EQ(bytes(fromRows), bytes(fromBitmap));
}

TEST_F(PngFileTest, RefusalIsOursAndLeavesNothing) {
  const std::string path = (dir / "empty.png").string();
  testing::internal::CaptureStderr();
  try {
    WritePng(Bitmap(0, 3), path);
    ADD_FAILURE() << "an empty picture was written";
  } catch (const FileError& e) {
    EXPECT_EQ(e.path(), path);
    EXPECT_EQ(e.reason().rfind("cannot encode the picture as PNG (", 0), 0u) << e.reason();
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(PngFileTest, ReadingRefusesWhatIsNoPngInTheKitsWords) {
  const std::string path = (dir / "p.png").string();
  WritePng(Bitmap(40, 40, 0xFF123456u), path);
  const auto size = fs::file_size(path);
  const std::string truncated = (dir / "truncated.png").string(), text = (dir / "text.png").string();
  fs::copy_file(path, truncated);
  fs::resize_file(truncated, size - 20);
  std::ofstream(text) << "not a picture";
  const std::pair<std::string, std::string> cases[] = {
      {text, "is not a PNG picture the kit can read ("},
      {truncated, "is not a PNG picture the kit can read ("},
      {(dir / "missing.png").string(), "cannot open for reading: No such file or directory"},
      {dir.string(), "cannot read: Is a directory"}};
  testing::internal::CaptureStderr();
  for (const auto& [file, reason] : cases) {
    try {
      ReadPng(file);
      ADD_FAILURE() << file << " was read";
    } catch (const FileError& e) {
      EXPECT_EQ(e.path(), file);
      EXPECT_EQ(e.reason().rfind(reason, 0), 0u) << e.reason();
    }
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace xpkit

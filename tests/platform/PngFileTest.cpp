// PNG output: pictures past libpng's default limits are written; one libpng refuses is
// reported as a FileError in the kit's words, with nothing printed and no file left.
#include "xpkit/platform/PngFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "xpkit/files/FileError.h"

namespace xpkit {
namespace {

namespace fs = std::filesystem;

class PngFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "xpkit-png-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
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

}  // namespace
}  // namespace xpkit

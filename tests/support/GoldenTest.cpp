// A failed comparison with a golden picture: the message names the first differing
// pixel with both colours and the folder of the actual, expected and difference pictures.
#include "support/Golden.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "xpkit/platform/PngFile.h"
#include "support/TempFolder.h"

namespace xpkit::test {
namespace {

namespace fs = std::filesystem;

// Pictures of failed comparisons go to a folder of the test's own.
class GoldenTest : public ::testing::Test {
 protected:
  GoldenTest() {
    if (const char* chosen = std::getenv("XPKIT_TEST_ARTIFACTS")) before = chosen;
    ::setenv("XPKIT_TEST_ARTIFACTS", dir.c_str(), 1);
  }
  ~GoldenTest() override {
    before.empty() ? ::unsetenv("XPKIT_TEST_ARTIFACTS") : ::setenv("XPKIT_TEST_ARTIFACTS", before.c_str(), 1);
  }
  TempFolder folder{"xpkit-golden"};
  const fs::path& dir = folder.path();
  std::string before;
};

TEST_F(GoldenTest, ADifferenceNamesItsFirstPixelAndLeavesThreePictures) {
  Bitmap golden = ReadPng(std::string(XPKIT_GOLDEN_DIR) + "/gradient-0.png");
  EXPECT_TRUE(MatchesGolden(golden, "gradient-0"));
  EXPECT_TRUE(fs::is_empty(dir));
  Bitmap changed = golden;
  changed.Set(7, 3, 0x80102030u);
  changed.Set(2, 9, 0xFF000000u);
  const std::string message = MatchesGolden(changed, "gradient-0").message();
  EXPECT_NE(message.find("2 pixels differ, the first at (7, 3): RGB(16,32,48) alpha 128 where the golden has RGB("),
            std::string::npos)
      << message;
  EXPECT_NE(message.find(dir.string()), std::string::npos) << message;
  EXPECT_EQ(ReadPng((dir / "gradient-0.actual.png").string()), changed);
  EXPECT_EQ(ReadPng((dir / "gradient-0.expected.png").string()), golden);
  const Bitmap diff = ReadPng((dir / "gradient-0.diff.png").string());
  int red = 0;
  for (std::uint32_t p : diff.pixels()) red += p == 0xFFFF0000u;
  EXPECT_EQ(red, 2);
  EXPECT_EQ(diff.At(7, 3), 0xFFFF0000u);

  // Another size: the pixels only one picture has count as differing.
  const std::string grown = MatchesGolden(Bitmap(golden.width() + 1, golden.height()), "gradient-0").message();
  EXPECT_NE(grown.find("is 101x60 pixels, the golden 100x60; 6060 pixels differ"), std::string::npos) << grown;
}

TEST_F(GoldenTest, AMissingGoldenSaysHowToMakeItAndKeepsTheActualPicture) {
  const std::string message = MatchesGolden(Bitmap(2, 2), "no-such-picture").message();
  EXPECT_NE(message.find("no-such-picture: no golden to compare with"), std::string::npos) << message;
  EXPECT_NE(message.find("scripts/update-goldens.sh makes it"), std::string::npos) << message;
  EXPECT_EQ(ReadPng((dir / "no-such-picture.actual.png").string()), Bitmap(2, 2));
}

}  // namespace
}  // namespace xpkit::test

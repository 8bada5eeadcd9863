#include "support/Golden.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "xpkit/files/FileError.h"
#include "xpkit/platform/PngFile.h"

namespace xpkit::test {
namespace {

namespace fs = std::filesystem;

fs::path PicturesFolder() {
  const char* chosen = std::getenv("XPKIT_TEST_ARTIFACTS");
  return chosen && *chosen ? fs::path(chosen) : fs::path(XPKIT_TEST_PICTURES);
}

std::string Describe(std::uint32_t argb) {
  char text[48];
  std::snprintf(text, sizeof text, "RGB(%u,%u,%u) alpha %u", argb >> 16 & 0xFF, argb >> 8 & 0xFF, argb & 0xFF,
                argb >> 24);
  return text;
}

bool Differs(const Bitmap& a, const Bitmap& b, int x, int y) {
  return !a.Contains(x, y) || !b.Contains(x, y) || a.At(x, y) != b.At(x, y);
}

// Over both pictures' extent: opaque red where they differ (or only one has a pixel),
// elsewhere the expected pixel faded three quarters toward white, never pure red.
Bitmap Difference(const Bitmap& actual, const Bitmap& expected) {
  Bitmap diff(std::max(actual.width(), expected.width()), std::max(actual.height(), expected.height()));
  for (int y = 0; y < diff.height(); ++y)
    for (int x = 0; x < diff.width(); ++x) {
      if (Differs(actual, expected, x, y)) {
        diff.Set(x, y, 0xFFFF0000u);
        continue;
      }
      const COLORREF c = expected.ColorAt(x, y);
      diff.Set(x, y, Bitmap::FromColorRef(RGB((GetRValue(c) + 765) / 4, (GetGValue(c) + 765) / 4,
                                              (GetBValue(c) + 765) / 4)));
    }
  return diff;
}

// Writes the pictures that exist; what it could not write ends up in the message.
std::string Keep(const std::string& name, const Bitmap& actual, const Bitmap* expected) {
  const fs::path folder = PicturesFolder();
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) return "; cannot make the pictures folder " + folder.string() + ": " + error.message();
  try {
    WritePng(actual, (folder / (name + ".actual.png")).string());
    if (!expected) return "; the picture is " + (folder / (name + ".actual.png")).string();
    WritePng(*expected, (folder / (name + ".expected.png")).string());
    WritePng(Difference(actual, *expected), (folder / (name + ".diff.png")).string());
  } catch (const FileError& e) {
    return std::string("; cannot keep the pictures: ") + e.what();
  }
  return "; actual, expected and difference pictures: " + (folder / (name + ".{actual,expected,diff}.png")).string();
}

}  // namespace

::testing::AssertionResult MatchesGolden(const Bitmap& actual, const std::string& name) {
  const std::string golden = std::string(XPKIT_GOLDEN_DIR) + "/" + name + ".png";
  std::optional<Bitmap> expected;
  try {
    expected = ReadPng(golden);
  } catch (const FileError& e) {
    return ::testing::AssertionFailure() << name << ": no golden to compare with (" << e.what()
                                         << "); scripts/update-goldens.sh makes it" << Keep(name, actual, nullptr);
  }
  if (actual == *expected) return ::testing::AssertionSuccess();
  std::string what;
  if (actual.width() != expected->width() || actual.height() != expected->height())
    what = "is " + std::to_string(actual.width()) + "x" + std::to_string(actual.height()) + " pixels, the golden " +
           std::to_string(expected->width()) + "x" + std::to_string(expected->height()) + "; ";
  long differing = 0;
  std::string first;
  for (int y = 0; y < std::max(actual.height(), expected->height()); ++y)
    for (int x = 0; x < std::max(actual.width(), expected->width()); ++x) {
      if (!Differs(actual, *expected, x, y)) continue;
      ++differing;
      if (first.empty() && actual.Contains(x, y) && expected->Contains(x, y))
        first = "first at (" + std::to_string(x) + ", " + std::to_string(y) + "): " + Describe(actual.At(x, y)) +
                " where the golden has " + Describe(expected->At(x, y));
    }
  return ::testing::AssertionFailure() << name << " differs from " << golden << ": " << what << differing
                                       << (differing == 1 ? " pixel differs" : " pixels differ")
                                       << (first.empty() ? "" : ", the ") << first
                                       << Keep(name, actual, &*expected);
}

}  // namespace xpkit::test

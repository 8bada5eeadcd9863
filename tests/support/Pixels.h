// Helpers for exact pixel expectations.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "xpkit/platform/Bitmap.h"

namespace xpkit::test {

inline std::string Hex(COLORREF c) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "RGB(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}

// Every pixel of row `y` from x0 to x1 (inclusive) has colour `c`.
inline ::testing::AssertionResult RowIs(const Bitmap& b, int y, int x0, int x1, COLORREF c) {
  for (int x = x0; x <= x1; ++x)
    if (b.ColorAt(x, y) != c)
      return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << Hex(b.ColorAt(x, y))
                                           << ", expected " << Hex(c);
  return ::testing::AssertionSuccess();
}

// The bitmap as rows of characters, '#' where the pixel has colour `ink`, '.' elsewhere.
inline std::string Mask(const Bitmap& b, COLORREF ink) {
  std::string out;
  for (int y = 0; y < b.height(); ++y) {
    for (int x = 0; x < b.width(); ++x) out += b.ColorAt(x, y) == ink ? '#' : '.';
    out += '\n';
  }
  return out;
}

}  // namespace xpkit::test

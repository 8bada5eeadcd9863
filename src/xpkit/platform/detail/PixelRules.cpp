#include "xpkit/platform/detail/PixelRules.h"

#include <vector>

#include "xpkit/platform/Bitmap.h"

namespace xpkit::pixel_rules {
namespace {

constexpr DotRow kDot1[] = {{0, 0, 0}};
constexpr DotRow kDot2[] = {{-1, -1, 0}, {0, -1, 0}};
constexpr DotRow kDot3[] = {{-1, 0, 0}, {0, -1, 1}, {1, 0, 0}};
constexpr DotRow kDot4[] = {{-2, -1, 0}, {-1, -2, 1}, {0, -2, 1}, {1, -1, 0}};
constexpr DotRow kDot5[] = {{-2, -1, 1}, {-1, -2, 2}, {0, -2, 2}, {1, -2, 2}, {2, -1, 1}};

// Pixels whose centres lie within w/2 of the point; for even w the point sits on the
// corner shared by four pixels, matching the even stamps above.
std::vector<DotRow> DiscDot(int w) {
  std::vector<DotRow> rows;
  const double r2 = (w / 2.0) * (w / 2.0);
  const double c = (w % 2 == 0) ? 0.5 : 0.0;
  const int lo = -(w / 2) - 1, hi = w / 2 + 1;
  for (int dy = lo; dy <= hi; ++dy) {
    int first = 1, last = 0;
    for (int dx = lo; dx <= hi; ++dx) {
      const double ex = dx + c, ey = dy + c;
      if (ex * ex + ey * ey <= r2) {
        if (first > last) first = dx;
        last = dx;
      }
    }
    if (first <= last) rows.push_back({dy, first, last});
  }
  return rows;
}

}  // namespace

PenDot::PenDot(int width) {
  switch (width) {
    case 0:
    case 1: rows_ = kDot1; break;
    case 2: rows_ = kDot2; break;
    case 3: rows_ = kDot3; break;
    case 4: rows_ = kDot4; break;
    case 5: rows_ = kDot5; break;
    default:
      disc_ = DiscDot(width);
      rows_ = disc_;
  }
}

}  // namespace xpkit::pixel_rules

namespace xpkit::pixel_rules {

std::uint32_t PixelOf(COLORREF c) { return Bitmap::FromColorRef(ResolveColorRef(c)); }

COLORREF ResolveColorRef(COLORREF c) {
  static constexpr COLORREF kDefaultPalette[20] = {
      RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),   RGB(0, 0, 128),
      RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(192, 220, 192), RGB(166, 202, 240),
      RGB(255, 251, 240), RGB(160, 160, 164), RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),
      RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};
  if ((c >> 24) == 0x01) {
    const unsigned index = c & 0xFFFF;
    return index < 20 ? kDefaultPalette[index] : kDefaultPalette[0];
  }
  return c & 0x00FFFFFF;
}

}  // namespace xpkit::pixel_rules

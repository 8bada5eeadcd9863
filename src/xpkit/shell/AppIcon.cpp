#include "xpkit/shell/AppIcon.h"

namespace xpkit {
namespace {

// Fills the pixels x1 <= x < x2, y1 <= y < y2.
void Fill(Bitmap& icon, int x1, int y1, int x2, int y2, COLORREF c) {
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x) icon.Set(x, y, Bitmap::FromColorRef(c));
}

}  // namespace

Bitmap MakeAppIcon() {
  Bitmap icon(32, 32, 0xFF7791ADu);  // the window's slate blue
  // The banner: white fading to slate blue, with its two-line edge.
  for (int y = 0; y < 12; ++y) {
    const int k = y * 255 / 11;
    Fill(icon, 0, y, 32, y + 1, RGB(255 - (255 - 119) * k / 255, 255 - (255 - 145) * k / 255, 255 - (255 - 173) * k / 255));
  }
  Fill(icon, 0, 12, 32, 13, RGB(172, 168, 153));
  Fill(icon, 0, 13, 32, 14, RGB(255, 255, 255));
  // The Exit button in its hover look, in its dark blue frame.
  const COLORREF frame = RGB(0, 60, 116);
  Fill(icon, 4, 18, 28, 29, frame);
  Fill(icon, 5, 19, 27, 28, RGB(245, 244, 240));
  Fill(icon, 5, 19, 27, 20, RGB(253, 216, 137));
  Fill(icon, 5, 27, 27, 28, RGB(229, 151, 0));
  Fill(icon, 12, 23, 20, 24, RGB(6, 0, 0));
  return icon;
}

}  // namespace xpkit

#include "shell/AppIcon.h"

#include "platform/Gdi.h"

namespace xpkit {
namespace {

void Fill(HDC dc, RECT r, COLORREF c, bool frame = false) {
  const HBRUSH b = CreateSolidBrush(c);
  frame ? FrameRect(dc, &r, b) : FillRect(dc, &r, b);
  DeleteObject(b);
}

void Row(HDC dc, int x1, int x2, int y, COLORREF c) {
  const HPEN pen = CreatePen(PS_SOLID, 1, c);
  const HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x1, y, nullptr);
  LineTo(dc, x2, y);
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace

Bitmap MakeAppIcon() {
  Bitmap icon(32, 32, 0xFF7791ADu);  // the window's slate blue
  const HDC dc = CreateImageDC(&icon);
  // The banner: white fading to slate blue, with its two-line edge.
  for (int y = 0; y < 12; ++y) {
    const int k = y * 255 / 11;
    Row(dc, 0, 32, y, RGB(255 - (255 - 119) * k / 255, 255 - (255 - 145) * k / 255, 255 - (255 - 173) * k / 255));
  }
  Row(dc, 0, 32, 12, RGB(172, 168, 153));
  Row(dc, 0, 32, 13, RGB(255, 255, 255));
  // The Exit button in its hover look.
  Fill(dc, {4, 18, 28, 29}, RGB(245, 244, 240));
  Row(dc, 5, 27, 19, RGB(253, 216, 137));
  Row(dc, 5, 27, 27, RGB(229, 151, 0));
  Fill(dc, {4, 18, 28, 29}, RGB(0, 60, 116), true);
  Row(dc, 12, 20, 23, RGB(6, 0, 0));
  DeleteDC(dc);
  return icon;
}

}  // namespace xpkit

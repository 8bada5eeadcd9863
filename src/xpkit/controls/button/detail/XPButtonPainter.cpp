// Every look of the button, drawn with GDI calls on the persistent image. Nothing is
// cached: each repaint clears the image, draws it whole with a pen per line colour
// (created, used and deleted at once) and hands the window a new corner-cut region.
#include "xpkit/controls/button/detail/XPButtonPainter.h"

#include "xpkit/platform/Session.h"

namespace xpkit {

namespace {

// Edge arithmetic is 32-bit and checked, like the rest of the control's arithmetic.
std::int32_t At(std::int32_t edge, std::int32_t offset) { return CheckedAdd(edge, offset); }

}  // namespace

// A glow's side segments: for each row from y0 to y1 a segment (x, y)-(x, y + 1) at both
// columns in `c`, which then drops by `step` while its blue is at least `floorBlue`.
void XPButtonPainter::Sides(int xl, int xr, int y0, int y1, Shade& c, int floorBlue, Shade step, int width) {
  for (std::int32_t y = y0; y <= y1; ++y) {
    Line(xl, y, xl, At(y, 1), c.ref(), width);
    Line(xr, y, xr, At(y, 1), c.ref(), width);
    if (c.b >= floorBlue) c.Drop(step.r, step.g, step.b);
  }
}

void XPButtonPainter::Repaint(std::int16_t pressed) {
  if (b_.enabled_ != 0) {
    if (pressed == 1 && b_.pressButton_ == 1) {
      DrawPressedFace();
    } else {
      DrawFace();
      if (b_.isOver_ == VbTrue)
        DrawHoverGlow();
      else if (b_.hasFocus_ == VbTrue)
        DrawFocusGlow();
    }
    DrawBorder();
  } else {
    DrawDisabled();
  }
  DrawCaption();
  ApplyRegion();
}

void XPButtonPainter::PrepareSurface() {
  b_.surface().Cls();
  b_.surface().SetScaleMode(XPButton::kScaleMode);
}

void XPButtonPainter::Line(int x1, int y1, int x2, int y2, COLORREF color, int width) {
  Gdi& gdi = b_.session().gdi();
  const HPEN pen = gdi.CreatePen(PS_SOLID, width, color);
  const HGDIOBJ old = gdi.SelectObject(b_.surface().hDC(), pen);
  gdi.MoveToEx(b_.surface().hDC(), x1, y1, nullptr);
  gdi.LineTo(b_.surface().hDC(), x2, y2);
  gdi.SelectObject(b_.surface().hDC(), old);
  gdi.DeleteObject(pen);
}

void XPButtonPainter::Pixel(int x, int y, COLORREF color) { b_.session().gdi().SetPixel(b_.surface().hDC(), x, y, color); }

void XPButtonPainter::Brush(COLORREF color, bool frame) {
  Gdi& gdi = b_.session().gdi();
  const HBRUSH brush = gdi.CreateSolidBrush(color);
  if (frame)
    gdi.FrameRect(b_.surface().hDC(), &b_.clientRect_, brush);
  else
    gdi.FillRect(b_.surface().hDC(), &b_.clientRect_, brush);
  gdi.DeleteObject(brush);
}

void XPButtonPainter::DrawFace() {
  const std::int32_t L = b_.edgeLeft_, T = b_.edgeTop_, R = b_.edgeRight_, B = b_.edgeBottom_;
  PrepareSurface();
  Shade c{255, 255, 253};
  for (std::int32_t y = At(T, 3); y <= At(B, -3); ++y) {
    Line(L, y, R, y, c.ref());
    if (c.b >= 230) c.Drop(1, 1, 1);
  }
  Line(L, At(B, -2), R, At(B, -2), RGB(214, 208, 197));
  Line(L, At(B, -3), R, At(B, -3), RGB(226, 223, 214));
  Line(L, At(B, -4), R, At(B, -4), RGB(236, 235, 230));
}

void XPButtonPainter::DrawPressedFace() {
  const std::int32_t L = b_.edgeLeft_, T = b_.edgeTop_, R = b_.edgeRight_, B = b_.edgeBottom_;
  PrepareSurface();
  Shade c{226, 225, 218};
  for (std::int32_t y = At(T, 3); y <= At(B, -2); y = At(y, 4)) {
    Line(L, y, R, y, c.ref(), 4);
    if (c.b >= 218) c.Drop(1, 1, 1);
  }
  Line(L, At(T, 1), R, At(T, 1), RGB(209, 204, 192));
  Line(L, At(T, 2), R, At(T, 2), RGB(220, 216, 207));
  Line(L, At(B, -3), R, At(B, -3), RGB(234, 233, 227));
  Line(L, At(B, -2), R, At(B, -2), RGB(242, 241, 238));
}

void XPButtonPainter::DrawHoverGlow() {
  const std::int32_t L = b_.edgeLeft_, T = b_.edgeTop_, R = b_.edgeRight_, B = b_.edgeBottom_;
  Line(At(L, 2), At(T, 1), At(R, -1), At(T, 1), RGB(255, 240, 207));
  Line(At(L, 1), At(T, 2), R, At(T, 2), RGB(253, 216, 137));
  Shade c{254, 223, 154};
  Sides(At(L, 1), At(R, -1), At(T, 2), At(B, -3), c, 49, {1, 3, 7}, 1);
  c = {252, 210, 121};
  Sides(At(L, 2), At(R, -2), At(T, 3), At(B, -3), c, 57, {1, 4, 8}, 1);
  Line(At(L, 3), At(B, -3), R, At(B, -3), c.ref());
  Line(At(L, 2), At(B, -2), At(R, -1), At(B, -2), RGB(229, 151, 0));
}

void XPButtonPainter::DrawFocusGlow() {
  const std::int32_t L = b_.edgeLeft_, T = b_.edgeTop_, R = b_.edgeRight_, B = b_.edgeBottom_;
  Line(At(L, 2), At(T, 1), At(R, -1), At(T, 1), RGB(206, 231, 251));
  Line(At(L, 1), At(T, 2), R, At(T, 2), RGB(188, 212, 246));
  Shade c{186, 211, 246};
  Sides(At(L, 2), At(R, -1), At(T, 3), At(B, -4), c, 228, {4, 3, 1}, 2);
  Line(At(L, 1), At(B, -3), At(R, -1), At(B, -3), c.ref());
  Pixel(At(L, 2), At(B, -2), RGB(77, 125, 193));
  Line(At(L, 3), At(B, -2), At(R, -2), At(B, -2), RGB(97, 125, 229));
  Pixel(At(R, -2), At(B, -2), RGB(77, 125, 193));
}

void XPButtonPainter::DrawBorder() {
  const std::int32_t L = b_.edgeLeft_, T = b_.edgeTop_, R = b_.edgeRight_, B = b_.edgeBottom_;
  Brush(RGB(0, 60, 116), true);
  const COLORREF outer = RGB(122, 149, 168), inner = RGB(37, 87, 131);
  Pixel(L, At(T, 1), outer);
  Pixel(At(L, 1), At(T, 1), inner);
  Pixel(At(L, 1), T, outer);
  Pixel(At(R, -1), T, outer);
  Pixel(At(R, -1), At(T, 1), inner);
  Pixel(R, At(T, 1), outer);
  Pixel(L, At(B, -2), outer);
  Pixel(At(L, 1), At(B, -2), inner);
  Pixel(At(L, 1), At(B, -1), outer);
  Pixel(R, At(B, -2), outer);
  Pixel(At(R, -1), At(B, -2), inner);
  Pixel(At(R, -1), At(B, -1), outer);
}

void XPButtonPainter::DrawDisabled() {
  const std::int32_t L = b_.edgeLeft_, T = b_.edgeTop_, R = b_.edgeRight_, B = b_.edgeBottom_;
  PrepareSurface();
  Brush(RGB(245, 244, 234), false);
  Brush(RGB(201, 199, 186), true);
  const COLORREF edge = RGB(216, 213, 199), soft = RGB(234, 233, 222);
  Pixel(L, At(T, 1), edge);
  Pixel(At(L, 1), At(T, 1), edge);
  Pixel(At(L, 1), T, edge);
  Pixel(At(L, 1), At(T, 2), soft);
  Pixel(At(L, 2), At(T, 1), soft);
  Pixel(At(R, -1), T, edge);
  Pixel(At(R, -1), At(T, 1), edge);
  Pixel(R, At(T, 1), edge);
  Pixel(At(R, -2), At(T, 1), soft);
  Pixel(At(R, -1), At(T, 2), soft);
  Pixel(L, At(B, -2), edge);
  Pixel(At(L, 1), At(B, -2), edge);
  Pixel(At(L, 1), At(B, -1), edge);
  Pixel(At(L, 1), At(B, -3), soft);
  Pixel(At(L, 2), At(B, -2), soft);
  Pixel(R, At(B, -2), edge);
  Pixel(At(R, -1), At(B, -2), edge);
  Pixel(At(R, -1), At(B, -1), edge);
  Pixel(At(R, -1), At(B, -3), soft);
  Pixel(At(R, -2), At(B, -2), soft);
}

void XPButtonPainter::DrawCaption() {
  Gdi& gdi = b_.session().gdi();
  RECT rect{};
  b_.session().user().GetClientRect(b_.hWnd(), &rect);
  // The value goes to SetTextColor as it is, system-colour bit included.
  const COLORREF color = b_.enabled_ == 0 ? RGB(161, 161, 146) : b_.isOver_ != 0 ? b_.foreHover_ : b_.ForeColor();
  gdi.SetTextColor(b_.surface().hDC(), color);
  const std::string text = gdi.codePage().Encode(b_.caption_);
  const int count = static_cast<int>(b_.caption_.size());
  const int h = gdi.DrawTextA(b_.surface().hDC(), text.data(), count, &rect, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
  const double sw = b_.surface().ScaleWidth(), sh = b_.surface().ScaleHeight();
  SetRect(&rect, 0, CLng(sh * 0.5 - h * 0.5), CLng(sw), CLng(sh * 0.5 + h * 0.5));
  gdi.DrawTextA(b_.surface().hDC(), text.data(), count, &rect, DT_WORDBREAK | DT_CENTER);
}

void XPButtonPainter::ApplyRegion() {
  Gdi& gdi = b_.session().gdi();
  const std::int32_t W = b_.regionWidth_, H = b_.regionHeight_;
  const HRGN windowRegion = gdi.CreateRectRgn(0, 0, W, H);
  const RECT corners[] = {{0, 0, 1, 1}, {0, At(H, -1), 1, H}, {At(W, -1), 0, W, 1}, {At(W, -1), At(H, -1), W, H}};
  for (const RECT& c : corners) {
    const HRGN cornerRegion = gdi.CreateRectRgn(c.left, c.top, c.right, c.bottom);
    gdi.CombineRgn(windowRegion, windowRegion, cornerRegion, RGN_DIFF);
    gdi.DeleteObject(cornerRegion);
  }
  // The window owns the region from here and frees it when replaced or destroyed.
  b_.session().user().SetWindowRgn(b_.hWnd(), windowRegion, TRUE);
}

void XPButton::Repaint(std::int16_t pressed) { XPButtonPainter(*this).Repaint(pressed); }

}  // namespace xpkit

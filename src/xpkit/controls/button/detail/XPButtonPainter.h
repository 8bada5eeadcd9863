// The painting of XPButton: every look drawn from the button's state onto its image.
// Kept out of XPButton.h, which holds the behaviour and the properties.
#pragma once
#include <cstdint>

#include "xpkit/controls/button/XPButton.h"
#include "xpkit/platform/Win32Types.h"

namespace xpkit {

// A colour that the painting's loops step down channel by channel.
struct Shade {
  int r, g, b;
  COLORREF ref() const { return RGB(r, g, b); }
  void Drop(int dr, int dg, int db) {
    r -= dr;
    g -= dg;
    b -= db;
  }
};

class XPButtonPainter {
 public:
  explicit XPButtonPainter(XPButton& button) : b_(button) {}

  // Draws the look the state selects; the pressed face only for pressed = 1 after a
  // left press.
  void Repaint(std::int16_t pressed);

 private:
  void PrepareSurface();
  void DrawFace();
  void DrawPressedFace();
  void DrawHoverGlow();
  void DrawFocusGlow();
  void DrawBorder();
  void DrawDisabled();
  void DrawCaption();
  void ApplyRegion();
  void Line(int x1, int y1, int x2, int y2, COLORREF color, int width = 1);
  void Pixel(int x, int y, COLORREF color);
  void Brush(COLORREF color, bool frame);
  void Sides(int xl, int xr, int y0, int y1, Shade& c, int floorBlue, Shade step, int width);

  XPButton& b_;
};

}  // namespace xpkit

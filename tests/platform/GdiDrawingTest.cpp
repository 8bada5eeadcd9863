// Pixel rules of the drawing calls, checked on tiny bitmaps pixel by pixel.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "xpkit/platform/Gdi.h"
#include "support/Pixels.h"
#include "support/SessionTest.h"

namespace xpkit {
namespace {

constexpr COLORREF kInk = RGB(255, 0, 0);

class Canvas {
 public:
  Canvas(Gdi& g, int w, int h) : gdi(g), image(w, h, 0xFFFFFFFFu), dc(gdi.CreateImageDC(&image)) {}
  ~Canvas() { gdi.DeleteDC(dc); }
  void Line(int x1, int y1, int x2, int y2, int width = 1, COLORREF c = kInk) {
    const HPEN pen = gdi.CreatePen(PS_SOLID, width, c);
    const HGDIOBJ old = gdi.SelectObject(dc, pen);
    gdi.MoveToEx(dc, x1, y1, nullptr);
    gdi.LineTo(dc, x2, y2);
    gdi.SelectObject(dc, old);
    gdi.DeleteObject(pen);
  }
  std::set<std::pair<int, int>> Inked() const {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.ColorAt(x, y) == kInk) s.insert({x, y});
    return s;
  }
  Gdi& gdi;
  Bitmap image;
  HDC dc;
};

using Pixels = std::set<std::pair<int, int>>;
using Colors = test::SessionTest;
using CosmeticLine = test::SessionTest;
using Handles = test::SessionTest;
using Rectangles = test::SessionTest;
using Regions = test::SessionTest;
using WidePen = test::SessionTest;

TEST_F(CosmeticLine, RoundsTheMinorCoordinateWithHalvesToTheSmaller) {
  Canvas a(gdi, 8, 8);
  a.Line(0, 0, 6, 3);
  EXPECT_EQ(a.Inked(), (Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}));
  Canvas b(gdi, 8, 8);
  b.Line(0, 0, 4, 1);
  EXPECT_EQ(b.Inked(), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 1}}));
}

TEST_F(CosmeticLine, LeavesOutTheEndPointAndDrawsNothingForZeroLength) {
  Canvas a(gdi, 4, 4);
  a.Line(1, 1, 1, 2);
  EXPECT_EQ(a.Inked(), (Pixels{{1, 1}}));
  Canvas b(gdi, 4, 4);
  b.Line(2, 2, 2, 2);
  EXPECT_TRUE(b.Inked().empty());
}

TEST_F(CosmeticLine, BackwardsSetsTheSamePixelsButForTheEnds) {
  // In every octant, a line drawn backwards differs only in which end is left out.
  const int ends[][2] = {{7, 2}, {2, 7}, {-2, 7}, {-7, 2}, {-7, -3}, {-3, -7}, {3, -7}, {7, -3}, {5, 5}, {6, 3}};
  for (const auto& e : ends) {
    Canvas f(gdi, 24, 24), b(gdi, 24, 24);
    const int x1 = 10, y1 = 10, x2 = 10 + e[0], y2 = 10 + e[1];
    f.Line(x1, y1, x2, y2);
    b.Line(x2, y2, x1, y1);
    Pixels fw = f.Inked(), bw = b.Inked();
    fw.insert({x2, y2});
    bw.insert({x1, y1});
    EXPECT_EQ(fw, bw) << "to (" << e[0] << "," << e[1] << ")";
    EXPECT_EQ(f.Inked().size(), static_cast<std::size_t>(std::max(std::abs(e[0]), std::abs(e[1]))));
  }
}

TEST_F(CosmeticLine, ClippingNeverMovesAPixel) {
  // The same line on a canvas and, moved by (k, k), on one 2k larger: inside the small
  // canvas both set the same pixels, in every octant, with ends near and far outside.
  const int lines[][4] = {
      {-6, 1, 13, 4},           {13, 4, -6, 1},         {2, -9, 4, 14},     {4, 14, 2, -9}, {-1000000, -3, 999999, 5},
      {3, 999999, 1, -1000000}, {-700, 700, 700, -700}, {-50, -47, 60, 61}, {9, 2, -90, 3}, {5, 5, 5, 5}};
  constexpr int k = 7;
  for (const auto& l : lines) {
    Canvas small(gdi, 9, 6), big(gdi, 9 + 2 * k, 6 + 2 * k);
    small.Line(l[0], l[1], l[2], l[3]);
    big.Line(l[0] + k, l[1] + k, l[2] + k, l[3] + k);
    Pixels inside;
    for (const auto& [x, y] : big.Inked())
      if (x >= k && x < 9 + k && y >= k && y < 6 + k) inside.insert({x - k, y - k});
    EXPECT_EQ(small.Inked(), inside) << l[0] << "," << l[1] << " to " << l[2] << "," << l[3];
  }
}

TEST_F(WidePen, HorizontalStampsCoverGdisRowsAndColumns) {
  // Horizontal line from x 4 to 7 at y 6, both ends included.
  const char* expected[] = {
      // width 2: rows 5-6, columns 3..7
      "........\n........\n........\n........\n........\n...#####\n...#####\n........\n........\n",
      // width 3: rows 5 and 7 columns 4..7; row 6 columns 3..8
      "..........\n..........\n..........\n..........\n..........\n....####..\n...######.\n....####..\n..........\n",
      // width 4: rows 4 and 7 columns 3..7; rows 5-6 columns 2..8
      "..........\n..........\n..........\n..........\n...#####..\n..#######.\n..#######.\n...#####..\n..........\n",
      // width 5: rows 4 and 8 columns 3..8; rows 5-7 columns 2..9
      "...........\n...........\n...........\n...........\n...######..\n..########.\n..########.\n..########.\n...######..\n"};
  for (int w = 2; w <= 5; ++w) {
    const int width = w == 2 ? 8 : w == 5 ? 11 : 10;
    Canvas c(gdi, width, 9);
    c.Line(4, 6, 7, 6, w);
    EXPECT_EQ(test::Mask(c.image, kInk), expected[w - 2]) << "width " << w;
  }
}

TEST_F(WidePen, TwoPixelVerticalStubIsATwoByThreeBlock) {
  Canvas c(gdi, 6, 6);
  c.Line(2, 2, 2, 3, 2);
  EXPECT_EQ(c.Inked(), (Pixels{{1, 1}, {2, 1}, {1, 2}, {2, 2}, {1, 3}, {2, 3}}));
}

TEST_F(WidePen, ZeroLengthLineDrawsOneDot) {
  Canvas c(gdi, 6, 6);
  c.Line(3, 3, 3, 3, 4);
  EXPECT_EQ(test::Mask(c.image, kInk), "......\n..##..\n.####.\n.####.\n..##..\n......\n");
}

TEST_F(Rectangles, FillExcludesRightAndBottomAndFrameIsInside) {
  Canvas c(gdi, 6, 5);
  const HBRUSH b = gdi.CreateSolidBrush(kInk);
  RECT r{1, 1, 4, 3};
  gdi.FillRect(c.dc, &r, b);
  EXPECT_EQ(test::Mask(c.image, kInk), "......\n.###..\n.###..\n......\n......\n");
  Canvas f(gdi, 6, 5);
  RECT fr{0, 0, 6, 5};
  gdi.FrameRect(f.dc, &fr, b);
  EXPECT_EQ(test::Mask(f.image, kInk), "######\n#....#\n#....#\n#....#\n######\n");
  Canvas e(gdi, 4, 4);
  RECT inverted{3, 3, 1, 1};
  gdi.FillRect(e.dc, &inverted, b);
  gdi.FrameRect(e.dc, &inverted, b);
  EXPECT_TRUE(e.Inked().empty());
  gdi.DeleteObject(b);
}

TEST_F(Colors, TopByteRules) {
  Canvas c(gdi, 3, 1);
  EXPECT_EQ(gdi.SetPixel(c.dc, 0, 0, 0x80000006), RGB(6, 0, 0));        // a system-colour value: low 24 bits
  EXPECT_EQ(gdi.SetPixel(c.dc, 1, 0, 0x02123456), 0x00123456u);          // palette-relative RGB
  EXPECT_EQ(gdi.SetPixel(c.dc, 2, 0, 0x0100000D), RGB(255, 0, 0));       // default palette entry 13
  EXPECT_EQ(gdi.SetPixel(c.dc, 3, 0, kInk), CLR_INVALID);                // outside the bitmap
}

TEST_F(Handles, BadHandlesFailWithoutDrawing) {
  Canvas c(gdi, 4, 4);
  const HPEN pen = gdi.CreatePen(PS_SOLID, 1, kInk);
  EXPECT_TRUE(gdi.DeleteObject(pen));
  EXPECT_FALSE(gdi.DeleteObject(pen));             // already deleted
  EXPECT_EQ(gdi.SelectObject(c.dc, pen), 0u);      // deleted handle
  EXPECT_EQ(gdi.SelectObject(c.dc, 0x0F00ABCD), 0u);  // foreign value
  const HBRUSH brush = gdi.CreateSolidBrush(kInk);
  RECT r{0, 0, 4, 4};
  EXPECT_EQ(gdi.FillRect(c.dc, &r, pen), 0);       // a pen where a brush belongs
  EXPECT_EQ(gdi.FillRect(brush, &r, brush), 0);    // a brush where a DC belongs
  EXPECT_FALSE(gdi.LineTo(brush, 1, 1));
  EXPECT_EQ(gdi.CombineRgn(brush, brush, brush, RGN_DIFF), RGN_ERROR);
  EXPECT_TRUE(c.Inked().empty());
  gdi.DeleteObject(brush);
}

TEST_F(Handles, SelectedObjectsAndStockObjectsAreNotDeleted) {
  Canvas c(gdi, 2, 2);
  const std::size_t live = gdi.LiveObjectCount();
  const HPEN pen = gdi.CreatePen(PS_SOLID, 2, kInk);
  const HGDIOBJ old = gdi.SelectObject(c.dc, pen);
  EXPECT_EQ(old, gdi.GetStockObject(BLACK_PEN));
  EXPECT_FALSE(gdi.DeleteObject(pen));
  gdi.SelectObject(c.dc, old);
  EXPECT_TRUE(gdi.DeleteObject(pen));
  EXPECT_FALSE(gdi.DeleteObject(gdi.GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(gdi.LiveObjectCount(), live);
}

// An object two DCs hold stays until both let it go, by another selection or by their end.
TEST_F(Handles, AnObjectStaysWhileAnyDcHoldsIt) {
  Bitmap a(2, 2), b(2, 2);
  const HDC first = gdi.CreateImageDC(&a), second = gdi.CreateImageDC(&b);
  const HPEN pen = gdi.CreatePen(PS_SOLID, 1, kInk);
  const HBRUSH brush = gdi.CreateSolidBrush(kInk);
  for (HDC dc : {first, second}) {
    gdi.SelectObject(dc, pen);
    gdi.SelectObject(dc, brush);
  }
  gdi.SelectObject(first, gdi.GetStockObject(BLACK_PEN));
  EXPECT_FALSE(gdi.DeleteObject(pen));
  EXPECT_TRUE(gdi.DeleteDC(second));
  EXPECT_TRUE(gdi.DeleteObject(pen));
  EXPECT_FALSE(gdi.DeleteObject(brush));
  EXPECT_TRUE(gdi.DeleteDC(first));
  EXPECT_TRUE(gdi.DeleteObject(brush));
}

TEST_F(Regions, CornerCutsAndCombineResults) {
  const HRGN whole = gdi.CreateRectRgn(0, 0, 10, 6);
  const HRGN corner = gdi.CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(gdi.CombineRgn(whole, whole, corner, RGN_DIFF), COMPLEXREGION);
  EXPECT_FALSE(gdi.PtInRegion(whole, 0, 0));
  EXPECT_TRUE(gdi.PtInRegion(whole, 1, 0));
  EXPECT_TRUE(gdi.PtInRegion(whole, 0, 1));
  EXPECT_FALSE(gdi.PtInRegion(whole, 10, 5));
  const HRGN other = gdi.CreateRectRgn(20, 20, 21, 21);
  EXPECT_EQ(gdi.CombineRgn(other, corner, other, RGN_AND), NULLREGION);
  EXPECT_EQ(gdi.CombineRgn(other, corner, corner, RGN_OR), SIMPLEREGION);
  EXPECT_EQ(gdi.CombineRgn(other, corner, corner, RGN_XOR), NULLREGION);
  for (HRGN r : {whole, corner, other}) EXPECT_TRUE(gdi.DeleteObject(r));
}

}  // namespace
}  // namespace xpkit

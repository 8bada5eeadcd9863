// The button's looks, pixel for pixel, worked out from its drawing rules: 1-pixel lines
// leave out their end point, the 2- and 4-pixel pens stamp GDI's dots, FrameRect takes
// the outermost rows and columns, and the window region cuts the four corners.
#include <gtest/gtest.h>

#include "xpkit/platform/Gdi.h"
#include "controls/ButtonFixture.h"
#include "support/Pixels.h"

namespace xpkit::test {
namespace {

const COLORREF kFrame = RGB(0, 60, 116), kOuter = RGB(122, 149, 168), kInner = RGB(37, 87, 131);
const COLORREF kWindow = GetSysColor(COLOR_WINDOW);

// Rows 0 and 21, columns 0 and 105 and the twelve softening pixels of every enabled look
// of a 106 x 22 button; the corners themselves are outside the window.
void ExpectEnabledFrame(const Bitmap& img) {
  const int R = 105, B = 22;
  for (auto [x, y] : {std::pair{0, 0}, {R, 0}, {0, B - 1}, {R, B - 1}}) EXPECT_EQ(img.AlphaAt(x, y), 0) << x << "," << y;
  EXPECT_TRUE(RowIs(img, 0, 2, R - 2, kFrame));
  EXPECT_TRUE(RowIs(img, B - 1, 2, R - 2, kFrame));
  for (int y = 2; y <= B - 3; ++y) {
    EXPECT_EQ(img.ColorAt(0, y), kFrame) << y;
    EXPECT_EQ(img.ColorAt(R, y), kFrame) << y;
  }
  for (auto [x, y] : {std::pair{0, 1}, {1, 0}, {R - 1, 0}, {R, 1}, {0, B - 2}, {1, B - 1}, {R, B - 2}, {R - 1, B - 1}})
    EXPECT_EQ(img.ColorAt(x, y), kOuter) << x << "," << y;
  for (auto [x, y] : {std::pair{1, 1}, {R - 1, 1}, {1, B - 2}, {R - 1, B - 2}})
    EXPECT_EQ(img.ColorAt(x, y), kInner) << x << "," << y;
}

// The normal face's rows 3..20 between columns x0 and x1.
void ExpectFaceRows(const Bitmap& img, int x0, int x1, int lastGradientRow) {
  for (int y = 3; y <= lastGradientRow; ++y) {
    const int k = y - 3;
    EXPECT_TRUE(RowIs(img, y, x0, x1, RGB(255 - k, 255 - k, 253 - k))) << "row " << y;
  }
}

TEST_F(ButtonTest, NormalLookAt106x22) {
  const Bitmap img = ComposeControl(Place(106, 22));
  ExpectEnabledFrame(img);
  EXPECT_TRUE(RowIs(img, 1, 2, 103, kWindow));
  EXPECT_TRUE(RowIs(img, 2, 1, 104, kWindow));
  ExpectFaceRows(img, 1, 104, 17);
  EXPECT_TRUE(RowIs(img, 18, 1, 104, RGB(236, 235, 230)));
  EXPECT_TRUE(RowIs(img, 19, 1, 104, RGB(226, 223, 214)));
  EXPECT_TRUE(RowIs(img, 20, 2, 103, RGB(214, 208, 197)));
}

TEST_F(ButtonTest, HoverLookAt106x22) {
  Place(106, 22);
  input.MoveTo(kX + 50, kY + 10);
  const Bitmap img = ComposeControl(*static_cast<XPButton*>(form.controls()[0].get()));
  ExpectEnabledFrame(img);
  EXPECT_TRUE(RowIs(img, 1, 2, 103, RGB(255, 240, 207)));
  EXPECT_TRUE(RowIs(img, 2, 2, 103, RGB(253, 216, 137)));
  // Outer sides from row 2, inner sides from row 3, each stepping down until its blue
  // would fall below its floor.
  for (int y = 2; y <= 18; ++y) {
    const int k = std::min(y - 2, 16);
    const COLORREF outer = RGB(254 - k, 223 - 3 * k, 154 - 7 * k);
    EXPECT_EQ(img.ColorAt(1, y), outer) << y;
    EXPECT_EQ(img.ColorAt(104, y), outer) << y;
  }
  for (int y = 3; y <= 18; ++y) {
    const int k = std::min(y - 3, 9);
    const COLORREF inner = RGB(252 - k, 210 - 4 * k, 121 - 8 * k);
    EXPECT_EQ(img.ColorAt(2, y), inner) << y;
    EXPECT_EQ(img.ColorAt(103, y), inner) << y;
  }
  ExpectFaceRows(img, 3, 102, 17);
  EXPECT_TRUE(RowIs(img, 18, 3, 102, RGB(236, 235, 230)));
  EXPECT_EQ(img.ColorAt(1, 19), RGB(238, 175, 42));
  EXPECT_TRUE(RowIs(img, 19, 2, 104, RGB(243, 174, 49)));
  EXPECT_TRUE(RowIs(img, 20, 2, 103, RGB(229, 151, 0)));
}

TEST_F(ButtonTest, FocusLookAt106x22) {
  XPButton& b = Place(106, 22);
  host.SetFocus(&b);
  const Bitmap img = ComposeControl(b);
  ExpectEnabledFrame(img);
  EXPECT_TRUE(RowIs(img, 1, 2, 103, RGB(206, 231, 251)));
  // The 2-pixel segments at rows y..y+1 cover columns 1-2 and 103-104, rows y-1..y+1,
  // so row r shows the colour of the segment drawn at r + 1 (the last at row 18).
  for (int r = 2; r <= 19; ++r) {
    const int k = std::min(r + 1, 18) - 3;
    const COLORREF c = RGB(186 - 4 * k, 211 - 3 * k, 246 - k);
    if (r == 19) {  // the bottom line covers the rest of this row
      EXPECT_EQ(img.ColorAt(104, r), c);
      continue;
    }
    for (int x : {1, 2, 103, 104}) EXPECT_EQ(img.ColorAt(x, r), c) << x << "," << r;
  }
  EXPECT_TRUE(RowIs(img, 2, 3, 102, RGB(188, 212, 246)));
  ExpectFaceRows(img, 3, 102, 17);
  EXPECT_TRUE(RowIs(img, 18, 3, 102, RGB(236, 235, 230)));
  // The bottom line takes the colour a 17th segment would have had.
  EXPECT_TRUE(RowIs(img, 19, 1, 103, RGB(122, 163, 230)));
  EXPECT_EQ(img.ColorAt(2, 20), RGB(77, 125, 193));
  EXPECT_TRUE(RowIs(img, 20, 3, 102, RGB(97, 125, 229)));
  EXPECT_EQ(img.ColorAt(103, 20), RGB(77, 125, 193));
}

TEST_F(ButtonTest, PressedLookAt106x22) {
  XPButton& b = Place(106, 22);
  input.MoveTo(kX + 50, kY + 10);
  input.Press();
  const Bitmap img = ComposeControl(b);
  ExpectEnabledFrame(img);
  EXPECT_TRUE(RowIs(img, 1, 2, 103, RGB(209, 204, 192)));
  EXPECT_TRUE(RowIs(img, 2, 1, 104, RGB(220, 216, 207)));
  // The 4-pixel rows at y = 3, 7, 11, 15, 19 cover rows y-2..y+1 across the width.
  for (int y = 3; y <= 4; ++y) EXPECT_TRUE(RowIs(img, y, 1, 104, RGB(226, 225, 218))) << y;
  for (int y = 5; y <= 18; ++y) EXPECT_TRUE(RowIs(img, y, 1, 104, RGB(225, 224, 217))) << y;
  EXPECT_TRUE(RowIs(img, 19, 1, 104, RGB(234, 233, 227)));
  EXPECT_TRUE(RowIs(img, 20, 2, 103, RGB(242, 241, 238)));
}

TEST_F(ButtonTest, DisabledLookAt106x22) {
  XPButton& b = Place(106, 22);
  host.SetFocus(&b);
  b.SetEnabled(false);
  const Bitmap img = ComposeControl(b);
  const COLORREF frame = RGB(201, 199, 186), edge = RGB(216, 213, 199), soft = RGB(234, 233, 222);
  EXPECT_TRUE(RowIs(img, 0, 2, 103, frame));
  EXPECT_TRUE(RowIs(img, 21, 2, 103, frame));
  for (int y = 2; y <= 19; ++y) {
    EXPECT_EQ(img.ColorAt(0, y), frame);
    EXPECT_EQ(img.ColorAt(105, y), frame);
  }
  for (auto [x, y] : {std::pair{0, 1}, {1, 1}, {1, 0}, {104, 0}, {104, 1}, {105, 1}, {0, 20}, {1, 20}, {1, 21}, {105, 20},
                      {104, 20}, {104, 21}})
    EXPECT_EQ(img.ColorAt(x, y), edge) << x << "," << y;
  for (auto [x, y] : {std::pair{1, 2}, {2, 1}, {103, 1}, {104, 2}, {1, 19}, {2, 20}, {104, 19}, {103, 20}})
    EXPECT_EQ(img.ColorAt(x, y), soft) << x << "," << y;
  EXPECT_TRUE(RowIs(img, 1, 3, 102, RGB(245, 244, 234)));
  EXPECT_TRUE(RowIs(img, 10, 1, 104, RGB(245, 244, 234)));
  EXPECT_EQ(img.AlphaAt(0, 0), 0);
}

TEST_F(ButtonTest, HoverWinsOverFocusAndPressedShowsNoGlow) {
  XPButton& b = Place(106, 22);
  host.SetFocus(&b);
  input.MoveTo(kX + 50, kY + 10);
  EXPECT_EQ(Look(b), "hover");
  input.Press();
  EXPECT_EQ(Look(b), "pressed");
  EXPECT_EQ(ComposeControl(b).ColorAt(2, 8), RGB(225, 224, 217));
}

// ---- Degenerate sizes ----

TEST_F(ButtonTest, VeryLowButtonDrawsOnlyTheFixedRowsAndFrame) {
  // B = 5: the gradient loop (rows 3..2) draws nothing; rows B-4..B-2 are 1..3.
  const Bitmap img = ComposeControl(Place(30, 5));
  EXPECT_TRUE(RowIs(img, 1, 2, 27, RGB(236, 235, 230)));
  EXPECT_TRUE(RowIs(img, 2, 1, 28, RGB(226, 223, 214)));
  EXPECT_TRUE(RowIs(img, 3, 2, 27, RGB(214, 208, 197)));
  EXPECT_TRUE(RowIs(img, 0, 2, 27, kFrame));
  EXPECT_TRUE(RowIs(img, 4, 2, 27, kFrame));
  EXPECT_EQ(img.ColorAt(1, 1), kInner);
  EXPECT_EQ(img.ColorAt(0, 2), kFrame);
}

TEST_F(ButtonTest, PressedRowsStartAtRowThreeWhateverTheHeight) {
  for (int h : {12, 13, 14}) {
    SCOPED_TRACE(h);
    Form f(host, "frmPressed", 200, 100);
    f.Show();
    PropertyBag bag = Stored(u"");
    XPButton& b = f.Add<XPButton>("b", {0, 0, PixelsToTwips(40), PixelsToTwips(h)}, &bag);
    HeadlessDriver drive(host, f);
    drive.MoveTo(20, h / 2);
    drive.Press();
    const Bitmap img = ComposeControl(b);
    drive.Release();
    // Wide rows at 3, 7 (and 11 when B - 2 >= 11) cover rows 1..8 (..12); the fixed
    // rows then take rows 1, 2, B-3 and B-2, the frame row B-1.
    const int lastWide = h - 2 >= 11 ? 11 : 7;
    for (int y = 5; y <= std::min(lastWide + 1, h - 4); ++y)
      EXPECT_TRUE(RowIs(img, y, 1, 38, RGB(225, 224, 217))) << y;
    for (int y = lastWide + 2; y <= h - 4; ++y) EXPECT_TRUE(RowIs(img, y, 1, 38, kWindow)) << y;
    EXPECT_TRUE(RowIs(img, h - 3, 1, 38, RGB(234, 233, 227)));
    EXPECT_TRUE(RowIs(img, h - 2, 2, 37, RGB(242, 241, 238)));
    EXPECT_TRUE(RowIs(img, h - 1, 2, 37, kFrame));
  }
}

TEST_F(ButtonTest, TinyButtonsPaintEveryLookWithoutLeavingObjects) {
  const std::size_t before = gdi.LiveObjectCount();
  for (int w : {1, 2, 3}) {
    for (int h : {1, 2, 3}) {
      Form f(host, "frmTiny", 50, 50);
      f.Show();
      PropertyBag bag = Stored(u"&Exit");
      XPButton& b = f.Add<XPButton>("b", {PixelsToTwips(1), PixelsToTwips(1), PixelsToTwips(w), PixelsToTwips(h)}, &bag);
      HeadlessDriver drive(host, f);
      drive.MoveTo(1, 1);
      drive.Press();
      drive.Release();
      host.SetFocus(&b);
      b.SetEnabled(false);
      EXPECT_EQ(ComposeControl(b).width(), w);
    }
  }
  EXPECT_EQ(gdi.LiveObjectCount(), before);
}

// ---- Caption, region, objects ----

// The caption's ink: pixels of `c` inside the button.
int Ink(const Bitmap& img, COLORREF c) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.ColorAt(x, y) == c;
  return n;
}

TEST_F(ButtonTest, CaptionColourFollowsTheStateAndIsNotTranslated) {
  XPButton& b = Place(106, 22, u"&Exit");
  // 0x80000006 reaches SetTextColor unchanged: GDI uses its low bytes, RGB(6, 0, 0).
  EXPECT_GT(Ink(ComposeControl(b), RGB(6, 0, 0)), 20);
  b.SetForeHover(RGB(255, 0, 0));
  input.MoveTo(kX + 5, kY + 5);
  EXPECT_GT(Ink(ComposeControl(b), RGB(255, 0, 0)), 20);
  b.SetEnabled(false);
  const Bitmap img = ComposeControl(b);
  EXPECT_EQ(Ink(img, RGB(255, 0, 0)), 0);
  EXPECT_GT(Ink(img, RGB(161, 161, 146)), 20);
}

TEST_F(ButtonTest, CaptionIsCentredAndUnderlinesItsAccessKey) {
  XPButton& b = Place(106, 22, u"&Exit");
  const Bitmap img = ComposeControl(b);
  int left = 106, right = -1, top = 22, bottom = -1;
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < 106; ++x)
      if (img.ColorAt(x, y) == RGB(6, 0, 0)) {
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
      }
  EXPECT_LE(std::abs((left + right) - 105), 2) << left << ".." << right;
  EXPECT_GT(top, 2);
  EXPECT_LT(bottom, 19);
  // "&" is not drawn: the caption equals "Exit" with its first letter underlined, so
  // the ink is wider at the bottom row than plain "Exit" would be there.
  b.SetCaption(u"Exit");
  EXPECT_LT(Ink(ComposeControl(b), RGB(6, 0, 0)), Ink(img, RGB(6, 0, 0)));
}

TEST_F(ButtonTest, CornerPixelsBelongToTheContainer) {
  XPButton& b = Place(106, 22);
  Record(b);
  for (auto [x, y] : {std::pair{0, 0}, {105, 0}, {0, 21}, {105, 21}}) {
    input.Click(kX + x, kY + y);
    EXPECT_EQ(user.WindowFromPoint([&] {
                POINT p{kX + x, kY + y};
                user.ClientToScreen(form.hWnd(), &p);
                return p;
              }()),
              form.hWnd());
  }
  EXPECT_TRUE(TakeLog().empty());
  input.Click(kX + 1, kY);
  EXPECT_FALSE(TakeLog().empty());
}

TEST_F(ButtonTest, RepaintsLeaveOnlyTheWindowsRegion) {
  const std::size_t before = gdi.LiveObjectCount();
  XPButton& b = Place(106, 22, u"&Exit");
  EXPECT_EQ(gdi.LiveObjectCount(), before + 2);  // the surface's font and the window region
  input.MoveTo(kX + 50, kY + 10);
  input.Press();
  input.Release();
  host.SetFocus(&b);
  b.SetCaption(u"Other");
  b.SetEnabled(false);
  EXPECT_EQ(gdi.LiveObjectCount(), before + 2);
}

}  // namespace
}  // namespace xpkit::test

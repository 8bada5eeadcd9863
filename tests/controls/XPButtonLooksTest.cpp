// The button's looks: every state at a few sizes and fonts against golden pictures, and
// what holds whatever the pictures: which glow wins, the caption's colour and place, the
// corners cut off the window, and the GDI objects a repaint leaves.
#include <gtest/gtest.h>

#include "xpkit/platform/Gdi.h"
#include "controls/ButtonFixture.h"
#include "gallery/Gallery.h"
#include "support/Golden.h"

namespace xpkit::test {
namespace {

// The main window's Exit button, the message box's OK button (odd height, access key)
// and one too low for the face's gradient, each in every look.
TEST(ButtonLooks, EveryLookAtThreeSizesMatchesItsGolden) {
  struct Size {
    const char* name;
    int width, height;
    std::u16string caption;
  };
  const Size sizes[] = {{"exit", 106, 22, ButtonRequest{}.caption}, {"ok", 75, 23, u"&OK"}, {"low", 30, 5, u""}};
  for (const Size& size : sizes)
    for (const char* look : {"normal", "hover", "focus", "pressed", "disabled"}) {
      const ButtonRequest r{size.width, size.height, *ParseButtonLook(look), size.caption};
      EXPECT_TRUE(MatchesGolden(RenderButton(r), std::string("button-") + size.name + "-" + look));
    }
}

// The pressed face's 4-pixel rows at heights around a multiple of 4, a caption broken
// into two lines, and another face and size of font.
TEST(ButtonLooks, PressedRowsWrappedCaptionAndOtherFontMatchTheirGoldens) {
  for (int h : {12, 13, 14}) {
    const std::string name = "button-40x" + std::to_string(h) + "-pressed";
    EXPECT_TRUE(MatchesGolden(RenderButton({40, h, ButtonLook::Pressed, u""}), name));
  }
  EXPECT_TRUE(MatchesGolden(RenderButton({60, 40, ButtonLook::Normal, u"Exit the program"}), "button-wrap-normal"));
  EXPECT_TRUE(MatchesGolden(RenderButton({106, 22, ButtonLook::Hover, u"&Exit", u"MS Sans Serif", 10}),
                            "button-sans-hover"));
}

// Hover and focus together show the hover glow alone; the pressed face shows no glow,
// whether the pointer or the keyboard pressed it.
TEST_F(ButtonTest, HoverWinsOverFocusAndThePressedFaceShowsNoGlow) {
  XPButton& b = Place(106, 22);
  XPButton& other = Place(106, 22, u"", "cmdOther", 150);
  input.MoveTo(150 + 50, kY + 10);
  const Bitmap hoverAlone = ComposeControl(other);
  host.SetFocus(&b);
  input.KeyDown(32);
  const Bitmap pressedByKey = ComposeControl(b);
  input.KeyUp(32);
  const Bitmap focused = ComposeControl(b);
  input.MoveTo(kX + 50, kY + 10);
  EXPECT_EQ(ComposeControl(b), hoverAlone);
  EXPECT_NE(hoverAlone, focused);
  input.Press();
  EXPECT_EQ(ComposeControl(b), pressedByKey);
  EXPECT_NE(pressedByKey, focused);
}

TEST_F(ButtonTest, TinyButtonsPaintEveryLookWithoutLeavingObjects) {
  const std::size_t before = gdi.LiveObjectCount();
  for (int w : {1, 2, 3}) {
    for (int h : {1, 2, 3}) {
      Form f(host, "frmTiny", 50, 50);
      f.Show();
      PropertyBag bag = Stored(u"&Exit");
      XPButton& b = f.Add<XPButton>("b", {Px(1), Px(1), Px(w), Px(h)}, &bag);
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

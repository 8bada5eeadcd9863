// The kit's message box: its layout for short and long texts, its parts as drawn, the
// ways it closes, and the focus it takes and gives back.
#include "xpkit/controls/msgbox/frmMsgBox.h"

#include <gtest/gtest.h>

#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/backends/headless/HeadlessDriver.h"
#include "xpkit/controls/msgbox/detail/ExclamationIcon.h"
#include "xpkit/host/Compositor.h"
#include "xpkit/platform/User.h"
#include "gallery/Gallery.h"
#include "support/Golden.h"

namespace xpkit {
namespace {

constexpr COLORREF kFace = RGB(236, 233, 216);

class MsgBoxTest : public ::testing::Test {
 protected:
  MsgBoxTest() { backend.echoToStderr = false; }
  // Pixels of the composed box that have the text colour.
  static int Ink(const Bitmap& b, const RECT& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += b.ColorAt(x, y) == RGB(0, 0, 0);
    return n;
  }
  HeadlessBackend backend;
  Host host{backend};
};

TEST_F(MsgBoxTest, AShortTextStandsLevelWithTheIconAboveACentredButton) {
  frmMsgBox box(host, u"Overflow", u"GradientRect");
  box.Show();
  EXPECT_EQ(box.Caption, u"GradientRect");
  EXPECT_FALSE(box.Frame.minButton || box.Frame.maxButton || box.Frame.showInTaskbar);
  const auto l = frmMsgBox::Arrange(host, "Overflow");
  EXPECT_EQ(box.ClientWidthPx(), l.width);
  EXPECT_EQ(box.ClientHeightPx(), l.height);
  EXPECT_EQ(l.text.bottom - l.text.top, 13);  // one line of Tahoma 8 pt
  EXPECT_NEAR(l.text.top + l.text.bottom, 2 * l.icon.y + 32, 1);  // centred on the icon
  EXPECT_EQ(l.button.right - l.button.left, 75);
  EXPECT_EQ(l.button.bottom - l.button.top, 23);
  EXPECT_NEAR(l.button.left + l.button.right, l.width, 1);
  EXPECT_EQ(l.height - l.button.bottom, l.icon.x);  // the same margin all round

  const Bitmap img = ComposeForm(box);
  EXPECT_GT(Ink(img, l.text), 20);
  EXPECT_EQ(Ink(img, {l.text.right + 1, 0, l.width, l.button.top}), 0);
  EXPECT_EQ(img.ColorAt(l.icon.x + 16, l.icon.y + 14), RGB(0, 0, 0));  // the "!"
  EXPECT_EQ(img.ColorAt(l.icon.x + 0, l.icon.y + 0), kFace);            // outside the triangle
  const COLORREF yellow = img.ColorAt(l.icon.x + 10, l.icon.y + 24);
  EXPECT_GT(GetRValue(yellow), 230);
  EXPECT_GT(GetGValue(yellow), 180);
  EXPECT_LT(GetBValue(yellow), 100);
  // The OK button has the focus: its blue focus glow inside the frame.
  EXPECT_EQ(host.Focused(), box.cmdOK);
  EXPECT_EQ(box.cmdOK->Caption(), u"OK");
  EXPECT_EQ(img.ColorAt(l.button.left + 37, l.button.top + 1), RGB(206, 231, 251));
}

TEST_F(MsgBoxTest, ALongTextWrapsAtWordsWithinFiveEighthsOfTheScreen) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += "overflow ";
  const auto l = frmMsgBox::Arrange(host, text);
  EXPECT_LE(l.width, 1024 * 5 / 8);
  EXPECT_GT(l.width, 1024 / 2);
  EXPECT_EQ((l.text.bottom - l.text.top) % 13, 0);
  EXPECT_GE(l.text.bottom - l.text.top, 4 * 13);
  EXPECT_EQ(l.text.top, l.icon.y);  // taller than the icon: both at the top margin
  const auto one = frmMsgBox::Arrange(host, "overflow");
  EXPECT_LT(one.width, l.width);
  EXPECT_GE(one.width, 120);
}

TEST_F(MsgBoxTest, OkEnterSpaceAndEscapeCloseIt) {
  struct Way {
    const char* name;
    std::function<void(HeadlessDriver&, const frmMsgBox&)> act;
  };
  const Way ways[] = {
      {"click", [](HeadlessDriver& in, const frmMsgBox& b) {
         const auto l = frmMsgBox::Arrange(b.host(), "Overflow");
         in.Click(l.button.left + 30, l.button.top + 10);
       }},
      {"enter", [](HeadlessDriver& in, const frmMsgBox&) { in.Key(13); }},
      {"space", [](HeadlessDriver& in, const frmMsgBox&) { in.Key(32); }},
      {"escape", [](HeadlessDriver& in, const frmMsgBox&) { in.Key(27); }},
  };
  for (const Way& way : ways) {
    frmMsgBox box(host, u"Overflow", u"GradientRect");
    box.Show();
    HeadlessDriver in(host, box);
    in.Key('A');
    in.Click(3, 3);  // on the text: it takes no focus
    EXPECT_FALSE(box.Closed()) << way.name;
    EXPECT_EQ(host.Focused(), box.cmdOK) << way.name;
    way.act(in, box);
    EXPECT_TRUE(box.Closed()) << way.name;
  }
}

TEST_F(MsgBoxTest, TheFocusGoesBackWhereItWas) {
  Form owner(host, "frmOwner", 200, 100);
  owner.Show();
  auto& button = owner.Add<XPButton>("cmd", {15, 15, 1500, 345});
  host.SetFocus(&button);
  {
    frmMsgBox box(host, u"Overflow", u"");
    EXPECT_EQ(host.Focused(), box.cmdOK);
  }
  EXPECT_EQ(host.Focused(), &button);
}

TEST(ExclamationIcon, AYellowTriangleWithABlackMarkOnNothing) {
  const Bitmap icon = MakeExclamationIcon();
  ASSERT_EQ(icon.width(), 32);
  ASSERT_EQ(icon.height(), 32);
  for (const auto& [x, y] : {std::pair{0, 0}, {31, 0}, {0, 20}, {31, 20}, {16, 0}}) EXPECT_EQ(icon.AlphaAt(x, y), 0);
  // The mark down the middle: a bar, a gap, a dot.
  for (int y : {11, 15, 20, 25}) EXPECT_EQ(icon.At(16, y), 0xFF000000u) << y;
  EXPECT_NE(icon.ColorAt(16, 23), RGB(0, 0, 0));
  // Opaque yellow on either side of the mark, a darker rim at the bottom edge.
  EXPECT_EQ(icon.AlphaAt(8, 25), 255);
  EXPECT_GT(GetRValue(icon.ColorAt(8, 25)), GetBValue(icon.ColorAt(8, 25)) + 150);
  EXPECT_LT(GetGValue(icon.ColorAt(8, 29)), GetGValue(icon.ColorAt(8, 27)));
}

// The frame adds 3 pixels on every side and a title bar of 16 above the dialog.
TEST(Gallery, MessageBoxInAToolWindowFrameMatchesItsGolden) {
  const Bitmap img = RenderMsgBox({u"The gradient could not be drawn: Overflow.", u"GradientRect"});
  HeadlessBackend backend;
  Host host(backend);
  const auto l = frmMsgBox::Arrange(host, "The gradient could not be drawn: Overflow.");
  EXPECT_EQ(img.width(), l.width + 6);
  EXPECT_EQ(img.height(), l.height + 6 + 16);
  EXPECT_TRUE(test::MatchesGolden(img, "msgbox"));
}

}  // namespace
}  // namespace xpkit

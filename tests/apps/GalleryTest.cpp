#include "gallery/Gallery.h"

#include <gtest/gtest.h>

#include "xpkit/Error.h"
#include "xpkit/platform/User.h"
#include "support/Pixels.h"

namespace xpkit {
namespace {

TEST(Gallery, GradientColumnsFollowTheColourTable) {
  GradientRequest r;
  r.width = 100;
  r.height = 50;
  r.angle = 0;
  r.color1 = 0x000000;
  r.color2 = 0x0000FF;  // --color2 FF0000
  const Bitmap img = RenderGradient(r);
  EXPECT_EQ(img.ColorAt(0, 0), RGB(0, 0, 0));  // the first line is Color1 exactly
  EXPECT_EQ(img.ColorAt(99, 49), RGB(248, 0, 0));
}

TEST(Gallery, HeaderEdgeRowsAndTheirSwap) {
  HeaderRequest r;
  r.width = 331;
  r.height = 40;
  Bitmap img = RenderHeader(r);
  EXPECT_EQ(img.ColorAt(0, 0), RGB(225, 231, 237));  // near white at the top-left
  EXPECT_TRUE(test::RowIs(img, 38, 0, 330, GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_TRUE(test::RowIs(img, 39, 0, 330, GetSysColor(COLOR_WINDOW)));
  r.borderStyle = 0;
  img = RenderHeader(r);
  EXPECT_TRUE(test::RowIs(img, 38, 0, 330, GetSysColor(COLOR_WINDOW)));
  EXPECT_TRUE(test::RowIs(img, 39, 0, 330, GetSysColor(COLOR_BTNSHADOW)));
}

TEST(Gallery, ButtonLooksOfTheExitButton) {
  ButtonRequest r;
  const auto at = [&](ButtonLook look, int x, int y) {
    r.look = look;
    return RenderButton(r).ColorAt(x, y);
  };
  r.look = ButtonLook::Normal;
  const Bitmap normal = RenderButton(r);
  ASSERT_EQ(normal.width(), 106);
  ASSERT_EQ(normal.height(), 22);
  for (auto [x, y] : {std::pair{0, 0}, {105, 0}, {0, 21}, {105, 21}}) EXPECT_EQ(normal.AlphaAt(x, y), 0);
  EXPECT_EQ(normal.AlphaAt(1, 0), 255);
  EXPECT_TRUE(test::RowIs(normal, 3, 1, 20, RGB(255, 255, 253)));
  EXPECT_EQ(at(ButtonLook::Hover, 50, 1), RGB(255, 240, 207));
  EXPECT_EQ(at(ButtonLook::Focus, 50, 1), RGB(206, 231, 251));
  EXPECT_EQ(at(ButtonLook::Pressed, 5, 10), RGB(225, 224, 217));
  EXPECT_EQ(at(ButtonLook::Disabled, 5, 10), RGB(245, 244, 234));
  EXPECT_FALSE(ParseButtonLook("shiny"));
}

// A message box's picture grows with its lines of 13 pixels; one that would pass the
// gallery's bounds is refused before it is made.
TEST(Gallery, MessageBoxPictureStaysWithinTheBounds) {
  MsgBoxRequest r;
  for (int i = 0; i < 151; ++i) r.text += u"line\n";
  const Bitmap fits = RenderMsgBox(r);
  EXPECT_EQ(fits.height(), 22 + 11 + 151 * 13 + 12 + 23 + 11);  // frame, margins, lines, button
  r.text += u"line\n";
  try {
    RenderMsgBox(r);
    ADD_FAILURE() << "a box of 152 lines was made";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::BadUsage);
    EXPECT_EQ(std::string(e.what()), "the message box of this text would be " + std::to_string(fits.width()) +
                                         "x2055 pixels; a picture is at most 2048 pixels a side and 2097152 pixels in all");
  }
}

}  // namespace
}  // namespace xpkit

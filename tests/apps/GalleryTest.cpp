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

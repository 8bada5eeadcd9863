#include "apps/gallery/Gallery.h"

#include <gtest/gtest.h>

#include "platform/User.h"
#include "tests/support/Pixels.h"

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

}  // namespace
}  // namespace xpkit

#include "xpkit/gradient/clsGradient.h"

#include <gtest/gtest.h>

#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/host/Host.h"
#include "xpkit/platform/Gdi.h"
#include "xpkit/platform/User.h"
#include "gallery/Gallery.h"
#include "support/Golden.h"
#include "support/Pixels.h"

namespace xpkit {
namespace {

class GradientTest : public ::testing::Test {
 protected:
  GradientTest() { backend.echoToStderr = false; }
  // Draws into a W x H client area; returns Draw's result.
  bool Fill(int w, int h, int angle, std::int32_t c1 = 0x000000, std::int32_t c2 = 0x0000FF) {
    hwnd = user.CreateWindowHandle(0, {0, 0, w, h});
    image = Bitmap(w > 0 && w < 5000 ? w : 1, h > 0 && h < 5000 ? h : 1, 0xFFFFFFFFu);
    const HDC dc = gdi.CreateImageDC(&image);
    g.SetColor1(c1);
    g.SetColor2(c2);
    g.SetAngle(static_cast<float>(angle));
    const std::size_t pensBefore = gdi.CreatedObjectCount();
    const std::size_t liveBefore = gdi.LiveObjectCount();
    const int locks = user.WindowUpdateLock().lockCalls, unlocks = user.WindowUpdateLock().unlockCalls;
    const bool result = g.Draw(hwnd, dc);
    pens = gdi.CreatedObjectCount() - pensBefore;
    EXPECT_EQ(gdi.LiveObjectCount(), liveBefore) << "a drawing leaves no GDI object behind";
    EXPECT_EQ(user.WindowUpdateLock().lockCalls, locks + 1);
    EXPECT_EQ(user.WindowUpdateLock().unlockCalls, unlocks + 1);
    EXPECT_EQ(user.WindowUpdateLock().holder, 0u);
    gdi.DeleteDC(dc);
    user.DestroyWindow(hwnd);
    return result;
  }
  HeadlessBackend backend;
  Host host{backend};
  Gdi& gdi = host.session().gdi();
  User& user = host.session().user();
  clsGradient g{host};
  HWND hwnd = 0;
  Bitmap image;
  std::size_t pens = 0;
};

TEST_F(GradientTest, Angle0GivesOneVerticalLinePerColumnPlusTwo) {
  ASSERT_TRUE(Fill(100, 50, 0));
  EXPECT_EQ(pens, 102u);
  // 102 colours from red 0 to 255 in steps of 255/102 = 2.5, halves to even.
  const std::pair<int, int> expected[] = {{0, 0}, {1, 2}, {2, 5}, {3, 8}, {5, 12}, {50, 125}, {98, 245}, {99, 248}};
  for (auto [x, red] : expected) {
    for (int y = 0; y < 50; ++y) ASSERT_EQ(image.ColorAt(x, y), RGB(red, 0, 0)) << "x " << x << " y " << y;
  }
}

TEST_F(GradientTest, Angle90GivesHorizontalLinesFromBelowTheArea) {
  ASSERT_TRUE(Fill(100, 50, 90));
  EXPECT_EQ(pens, 52u);
  // Line k lies at y = 50 - k: line 0 (Color1) is just below the area, row 49 is line 1.
  EXPECT_TRUE(test::RowIs(image, 49, 0, 99, RGB(5, 0, 0)));     // 255/52 = 4.9
  EXPECT_TRUE(test::RowIs(image, 0, 0, 99, RGB(245, 0, 0)));    // line 50
}

TEST_F(GradientTest, Angle315Draws202LinesFromTopLeftToBottomRight) {
  ASSERT_TRUE(Fill(100, 50, 315, 0x00FFFFFF, 0x00AD9177));
  EXPECT_EQ(pens, 202u);
  // White toward slate blue: the top-left corner is the lightest, the bottom-right the darkest.
  EXPECT_GT(GetRValue(image.ColorAt(0, 0)), GetRValue(image.ColorAt(99, 49)));
  EXPECT_GT(GetRValue(image.ColorAt(0, 0)), GetRValue(image.ColorAt(50, 25)));
  EXPECT_GT(GetRValue(image.ColorAt(50, 25)), GetRValue(image.ColorAt(99, 49)));
  // Along a 45-degree diagonal stroke the colour is constant.
  EXPECT_EQ(image.ColorAt(10, 20), image.ColorAt(20, 10));
}

TEST_F(GradientTest, SmallestAreaAndTooSmallAreas) {
  EXPECT_TRUE(Fill(2, 2, 0));
  EXPECT_EQ(pens, 4u);
  EXPECT_FALSE(Fill(1, 50, 0));
  EXPECT_EQ(pens, 0u);
  EXPECT_FALSE(Fill(50, 0, 0));
  EXPECT_FALSE(g.Draw(0, 0));  // no such window
}

TEST_F(GradientTest, OverflowShowsGradientRectMessageAndCarriesOn) {
  // A client area too tall for 32-bit point coordinates: the first line's y overflows.
  Fill(2, 2000000000, 0);
  ASSERT_FALSE(backend.messageBoxes.empty());
  EXPECT_EQ(backend.messageBoxes[0].caption, u"GradientRect");
  EXPECT_EQ(backend.messageBoxes[0].text, u"Overflow");
}

// White to slate blue at angles on each side of the diagonals, then the painter's defaults.
TEST(GradientLooks, AnglesAndDefaultsMatchTheirGoldens) {
  for (int angle : {0, 45, 90, 180, 270, 315}) {
    const GradientRequest r{100, 60, static_cast<float>(angle), 0x00FFFFFF, 0x00AD9177};
    EXPECT_TRUE(test::MatchesGolden(RenderGradient(r), "gradient-" + std::to_string(angle)));
  }
  EXPECT_TRUE(test::MatchesGolden(RenderGradient({100, 60, 315, {}, {}}), "gradient-defaults"));
}

TEST(BlendColors, TableRunsIOverNOfTheWayAndEndsOnColor2) {
  HeadlessBackend backend;
  Host host(backend);
  clsGradient g(host);
  std::vector<std::int32_t> t{7, 7, 7, 7, 7, 7};
  EXPECT_EQ(g.BlendColors(0x000000, 0x0000FF, 4, t), 4);
  EXPECT_EQ(t, (std::vector<std::int32_t>{0, 64, 128, 255}));
  EXPECT_EQ(g.BlendColors(0, 2, 4, t), 4);
  EXPECT_EQ(t, (std::vector<std::int32_t>{0, 0, 1, 2}));
  for (int steps : {1, 0, -5}) {
    EXPECT_EQ(g.BlendColors(0x123456, 0x654321, steps, t), 2);
    EXPECT_EQ(t, (std::vector<std::int32_t>{0x123456, 0x654321}));
  }
  // Channels ignore the top byte; the ends are copied unmasked.
  EXPECT_EQ(g.BlendColors(static_cast<std::int32_t>(0x80000019), 0x000000, 3, t), 3);
  EXPECT_EQ(t[0], static_cast<std::int32_t>(0x80000019));
  EXPECT_EQ(t[1], 17);  // red 25 toward 0, a third of the way: 16.67 rounds to 17
}

TEST(GradientProperties, SettersTranslateAndNormalise) {
  HeadlessBackend backend;
  Host host(backend);
  clsGradient g(host);
  EXPECT_EQ(g.Color1(), 0x00FFFFD0);
  EXPECT_EQ(g.Color2(), 0x00400000);
  EXPECT_EQ(g.Angle(), 315.0f);
  g.SetColor1(static_cast<std::int32_t>(0x80000005));
  EXPECT_EQ(g.Color1(), static_cast<std::int32_t>(GetSysColor(5)));
  g.SetColor2(static_cast<std::int32_t>(0x80000019));
  EXPECT_EQ(g.Color2(), static_cast<std::int32_t>(0x80000019));
  const std::pair<float, float> angles[] = {{-45, 315}, {360, 0}, {725.5f, 5.5f}, {-1e-10f, 360}, {90, 90}};
  for (auto [in, out] : angles) {
    g.SetAngle(in);
    EXPECT_EQ(g.Angle(), out) << in;
  }
}

}  // namespace
}  // namespace xpkit

#include "xpkit/controls/header/XPHeader.h"

#include <gtest/gtest.h>

#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/host/Compositor.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/Host.h"
#include "xpkit/platform/Gdi.h"
#include "xpkit/platform/User.h"
#include "gallery/Gallery.h"
#include "support/Golden.h"
#include "support/Pixels.h"

namespace xpkit {
namespace {

class HeaderTest : public ::testing::Test {
 protected:
  HeaderTest() : form(host, "frmMain", 331, 154) { backend.echoToStderr = false; }
  XPHeader& Load(const PropertyBag& bag, double heightTwips = 600, Dock dock = Dock::Top) {
    return form.Add<XPHeader>("Header", {0, 0, 4965, heightTwips, dock}, &bag);
  }
  PropertyBag MainWindowSet() {
    PropertyBag bag;
    bag.WriteProperty("Caption", std::u16string());
    bag.WriteProperty("Description", std::u16string());
    bag.WriteProperty("Font", FontDesc{u"MS Sans Serif", 8.25, 400, false, false, false, 178});
    return bag;
  }
  HeadlessBackend backend;
  Host host{backend};
  Gdi& gdi = host.session().gdi();
  User& user = host.session().user();
  Form form;
};

TEST_F(HeaderTest, NewInstanceDefaults) {
  auto& h = form.Add<XPHeader>("XPHeader1", {0, 0, 2400, 900});
  EXPECT_EQ(h.Caption(), u"XPHeader1");
  EXPECT_EQ(h.Description(), u"Add you description text here");
  EXPECT_EQ(h.Font(), form.Font);  // the container's own object
  EXPECT_EQ(h.BorderStyle(), 1);
  EXPECT_EQ(h.lneBorder(0).BorderColor, GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(h.lneBorder(1).BorderColor, GetSysColor(COLOR_WINDOW));
  EXPECT_FALSE(h.CanGetFocus());
}

// A new banner's own texts, none, Arabic and Latin texts on two lines, and both edge orders.
TEST(HeaderLooks, VariantsMatchTheirGoldens) {
  const std::pair<const char*, HeaderRequest> variants[] = {
      {"header-new", {331, 40, {}, {}, {}}},
      {"header-empty", {331, 40, u"", u"", {}}},
      {"header-text",
       {331, 60, u"xpkit", u"\u062E\u0631\u0648\u062C \u2014 a banner with caption and description", {}}},
      {"header-border-1", {160, 40, u"BorderStyle 1", u"", 1}},
      {"header-border-0", {160, 40, u"BorderStyle 0", u"", 0}}};
  for (const auto& [name, request] : variants) EXPECT_TRUE(test::MatchesGolden(RenderHeader(request), name));
}

TEST_F(HeaderTest, MainWindowBannerShowsGradientAndEdgeOnly) {
  auto& h = Load(MainWindowSet());
  const Bitmap img = ComposeControl(h);
  ASSERT_EQ(img.width(), 331);
  ASSERT_EQ(img.height(), 40);
  EXPECT_TRUE(test::RowIs(img, 38, 0, 330, GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_TRUE(test::RowIs(img, 39, 0, 330, GetSysColor(COLOR_WINDOW)));
  // Only the 315-degree gradient: lighter toward the top-left, and constant along each
  // diagonal stroke; no text anywhere.
  EXPECT_GT(GetBValue(img.ColorAt(0, 0)), GetBValue(img.ColorAt(330, 37)));
  for (int y = 1; y < 37; ++y)
    for (int x = 1; x < 330; ++x)
      ASSERT_EQ(img.ColorAt(x, y), img.ColorAt(x + 1, y - 1)) << x << "," << y;
}

TEST_F(HeaderTest, BorderStyleOtherThanOneSwapsTheEdgeWithoutRepainting) {
  auto& h = Load(MainWindowSet());
  const Bitmap before = h.surface().image();
  std::string changed;
  host.PropertyChanged.Connect([&](UserControl*&, std::string_view& name) { changed = name; });
  for (std::int32_t style : {0, 2, -1}) {
    h.SetBorderStyle(style);
    EXPECT_EQ(h.BorderStyle(), style);
    const Bitmap img = ComposeControl(h);
    EXPECT_TRUE(test::RowIs(img, 38, 0, 330, GetSysColor(COLOR_WINDOW)));
    EXPECT_TRUE(test::RowIs(img, 39, 0, 330, GetSysColor(COLOR_BTNSHADOW)));
  }
  EXPECT_EQ(h.surface().image(), before);
  EXPECT_EQ(changed, "BorderStyle");
  PropertyBag saved;
  h.OnWriteProperties(saved);
  EXPECT_EQ(saved.ReadLong("borderstyle", 1), -1);
}

TEST_F(HeaderTest, EdgeLinesFollowTheHeight) {
  auto& h = Load(MainWindowSet(), 420, Dock::Bottom);
  EXPECT_EQ(h.lneBorder(0).Y1, 390);
  EXPECT_EQ(h.lneBorder(1).Y1, 405);
  EXPECT_EQ(h.lneBorder(0).X2, 4965);
  h.Move(0, 0, 4965, 20);  // lower than two pixels: the upper line moves above the top
  EXPECT_EQ(h.lneBorder(0).Y1, -10);
  EXPECT_EQ(h.lneBorder(1).Y1, 5);
}

TEST_F(HeaderTest, CaptionIsBoldAndTheDrawingFontEndsRegular) {
  PropertyBag bag;
  bag.WriteProperty("Caption", std::u16string(u"Title"));
  auto& h = Load(bag);
  EXPECT_EQ(h.Caption(), u"Title");
  EXPECT_EQ(h.Description(), u"Add you description text here");
  FontRef bold = MakeFont(FontDesc{u"Tahoma", 8.25, 700, false, false, false, 178});
  h.SetFont(bold);
  EXPECT_EQ(h.Font(), bold);  // the very object
  EXPECT_FALSE(bold->Bold());
  // Text appears: dark pixels where the caption and description are.
  int dark = 0;
  for (int y = 10; y < 38; ++y)
    for (int x = 10; x < 200; ++x) dark += h.surface().image().ColorAt(x, y) == RGB(0, 0, 0);
  EXPECT_GT(dark, 50);
}

TEST_F(HeaderTest, SaveLeavesOutDefaultsInItsOrder) {
  auto& h = Load(MainWindowSet());
  PropertyBag saved;
  h.OnWriteProperties(saved);
  // The stored font equals the container's (MS Sans Serif 8.25, Arabic) and is left out.
  ASSERT_EQ(saved.entries().size(), 2u);
  EXPECT_EQ(saved.entries()[0].first, "Caption");
  EXPECT_EQ(saved.entries()[1].first, "Description");
  h.SetFont(MakeFont(FontDesc{u"Tahoma", 9, 400, false, false, false, 178}));
  h.SetCaption(u"Header");
  h.SetDescription(u"Add you description text here");
  PropertyBag again;
  h.OnWriteProperties(again);
  ASSERT_EQ(again.entries().size(), 1u);
  EXPECT_EQ(again.entries()[0].first, "Font");
  // Saved in its own order, not the order a load reads them (BorderStyle, Caption,
  // Description, Font).
  h.SetBorderStyle(0);
  h.SetCaption(u"x");
  PropertyBag all;
  h.OnWriteProperties(all);
  ASSERT_EQ(all.entries().size(), 3u);
  EXPECT_EQ(all.entries()[0].first, "BorderStyle");
  EXPECT_EQ(all.entries()[1].first, "Font");
  EXPECT_EQ(all.entries()[2].first, "Caption");
}

TEST_F(HeaderTest, PaintingLeavesNoGdiObjectBehind) {
  auto& h = Load(MainWindowSet());
  const std::size_t live = gdi.LiveObjectCount();
  h.SetCaption(u"Again");
  h.SetDescription(u"And again");
  h.Move(0, 0, 4965, 900);
  EXPECT_EQ(gdi.LiveObjectCount(), live);
  EXPECT_EQ(user.WindowUpdateLock().holder, 0u);
}

}  // namespace
}  // namespace xpkit

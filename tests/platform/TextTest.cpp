// Text through the GDI calls: metrics, shaping and direction, DrawText's measuring,
// centring, clipping and "&" prefixes.
#include <gtest/gtest.h>

#include "xpkit/codepage/CodePage.h"
#include "xpkit/platform/Gdi.h"
#include "xpkit/platform/text/FontLibrary.h"
#include "xpkit/platform/text/ResolvedFont.h"
#include "xpkit/platform/text/ShapedText.h"
#include "xpkit/platform/text/TextLayout.h"
#include "support/Pixels.h"
#include "support/SessionTest.h"

namespace xpkit {
namespace {

constexpr COLORREF kInk = RGB(0, 0, 0);

class TextTest : public test::SessionTest {
 protected:
  text::FontLibrary fonts;
};
using DrawText = TextTest;
using FontMetrics = TextTest;
using Prefixes = TextTest;
using Shaping = TextTest;
using TextOut = TextTest;

struct TextCanvas {
  TextCanvas(Gdi& g, int w, int h, const char16_t* face = u"Tahoma", int weight = 400)
      : gdi(g), image(w, h, 0xFFFFFFFFu) {
    dc = gdi.CreateImageDC(&image);
    LOGFONT lf;
    lf.lfHeight = -11;  // 8.25 pt at 96 DPI
    lf.lfWeight = weight;
    lf.lfFaceName = face;
    font = gdi.CreateFontIndirect(lf);
    gdi.SelectObject(dc, font);
    gdi.SetBkMode(dc, TRANSPARENT);
  }
  ~TextCanvas() {
    gdi.SelectObject(dc, gdi.GetStockObject(SYSTEM_FONT));
    gdi.DeleteObject(font);
    gdi.DeleteDC(dc);
  }
  // Columns [first, last] and rows holding ink; first > last when there is none.
  RECT InkBox() const {
    RECT r{image.width(), image.height(), -1, -1};
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.ColorAt(x, y) != RGB(255, 255, 255)) {
          r.left = std::min<LONG>(r.left, x);
          r.top = std::min<LONG>(r.top, y);
          r.right = std::max<LONG>(r.right, x);
          r.bottom = std::max<LONG>(r.bottom, y);
        }
    return r;
  }
  Gdi& gdi;
  Bitmap image;
  HDC dc;
  HFONT font;
};

std::string Ansi(const std::u16string& s) { return CodePage::Get(1256).Encode(s); }

// A font as the clipping tests draw with it: a face at a character height in pixels
// (negative), a weight, and upright or slanted.
struct FontCase {
  const char16_t* face;
  int height, weight, italic;
};

// Calls `draw` with a DC on `image` holding the case's font, drawing text without a box.
template <class Draw>
void WithFont(Gdi& gdi, Bitmap& image, const FontCase& c, Draw&& draw) {
  const HDC dc = gdi.CreateImageDC(&image);
  LOGFONT lf;
  lf.lfHeight = c.height;
  lf.lfWeight = c.weight;
  lf.lfItalic = static_cast<std::uint8_t>(c.italic);
  lf.lfFaceName = c.face;
  const HFONT font = gdi.CreateFontIndirect(lf);
  gdi.SelectObject(dc, font);
  gdi.SetBkMode(dc, TRANSPARENT);
  draw(dc);
  gdi.SelectObject(dc, gdi.GetStockObject(SYSTEM_FONT));
  gdi.DeleteObject(font);
  gdi.DeleteDC(dc);
}

TEST_F(FontMetrics, TahomaAtElevenPixelsHasTheWindowsCell) {
  const auto f = fonts.Resolve(FontDesc{u"Tahoma", 8.25, 400, false, false, false, 178}, 11);
  EXPECT_EQ(f->ascent, 11);
  EXPECT_EQ(f->descent, 2);
  EXPECT_EQ(f->height(), 13);
}

TEST_F(Shaping, ExitCaptionJoinsRightToLeftIn25Pixels) {
  const auto f = fonts.Resolve(FontDesc{u"Tahoma", 8.25, 400, false, false, false, 178}, 11);
  const auto line = text::Shape(*f, u"\u062E\u0631\u0648\u062C");
  EXPECT_EQ(line.width, 25);
  ASSERT_EQ(line.glyphs.size(), 4u);
  // Visual order is left to right, so the first character (khah) comes last.
  EXPECT_EQ(line.glyphs.front().cluster, 3u);
  EXPECT_EQ(line.glyphs.back().cluster, 0u);
}

TEST_F(Shaping, MixedDirectionsKeepLatinRunsLeftToRight) {
  const auto f = fonts.Resolve(FontDesc{u"Tahoma", 8.25, 400, false, false, false, 178}, 11);
  const auto line = text::Shape(*f, u"ab \u062E\u0631 cd");
  // "ab" first, then the Arabic pair reversed, then "cd".
  std::vector<std::uint32_t> clusters;
  for (const auto& g : line.glyphs) clusters.push_back(g.cluster);
  EXPECT_EQ(clusters.front(), 0u);
  EXPECT_EQ(clusters.back(), 7u);
  const auto khah = std::find(clusters.begin(), clusters.end(), 3u);
  const auto reh = std::find(clusters.begin(), clusters.end(), 4u);
  EXPECT_LT(reh, khah);
}

TEST_F(TextOut, DrawsAtTheCellTopLeftInTheTextColour) {
  TextCanvas c(gdi, 40, 20);
  gdi.SetTextColor(c.dc, 0x80000006);  // not translated: the low 24 bits, RGB(6, 0, 0)
  const std::string s = Ansi(u"H");
  ASSERT_TRUE(gdi.TextOutA(c.dc, 5, 3, s.data(), 1));
  const RECT ink = c.InkBox();
  EXPECT_GE(ink.left, 5);
  EXPECT_GE(ink.top, 3);
  EXPECT_LE(ink.bottom, 3 + 11);  // a capital sits on the baseline, 11 rows below the top
  EXPECT_EQ(c.image.ColorAt(ink.left, ink.bottom), RGB(6, 0, 0));
  EXPECT_TRUE(gdi.TextOutA(c.dc, 0, 0, "", 0));  // a count of 0 draws nothing
}

TEST_F(TextOut, BoldIsWiderThanRegular) {
  const auto regular = fonts.Resolve(FontDesc{u"MS Sans Serif", 8.25, 400, false, false, false, 0}, 11);
  const auto bold = fonts.Resolve(FontDesc{u"MS Sans Serif", 8.25, 700, false, false, false, 0}, 11);
  EXPECT_EQ(text::Shape(*bold, u"Hello").width, text::Shape(*regular, u"Hello").width + 5);
}

// A bold face whose pixels at some size are no bolder than the regular face's (Tahoma
// Bold from 13 to 16 pixels) is overstruck there too, so bold text is bold at every size.
TEST_F(TextOut, BoldIsBoldAtEverySize) {
  for (int px = 9; px <= 24; ++px) {
    TextCanvas r(gdi, 120, 30), b(gdi, 120, 30);
    for (TextCanvas* c : {&r, &b}) {
      LOGFONT lf;
      lf.lfHeight = -px;
      lf.lfWeight = c == &b ? 700 : 400;
      lf.lfFaceName = u"Tahoma";
      const HFONT f = gdi.CreateFontIndirect(lf);
      const HGDIOBJ old = gdi.SelectObject(c->dc, f);
      gdi.TextOutA(c->dc, 0, 0, "Hemo", 4);
      gdi.SelectObject(c->dc, old);
      gdi.DeleteObject(f);
    }
    const auto ink = [](const Bitmap& img) {
      int n = 0;
      for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += img.ColorAt(x, y) != RGB(255, 255, 255);
      return n;
    };
    EXPECT_GT(ink(b.image) * 10, ink(r.image) * 11) << px << " px";
  }
}

TEST_F(DrawText, MeasuresLinesBrokenAtTheWidth) {
  TextCanvas c(gdi, 60, 60);
  const std::string one = Ansi(u"Exit");
  RECT r{0, 0, 60, 60};
  EXPECT_EQ(gdi.DrawTextA(c.dc, one.data(), 4, &r, DT_CALCRECT | DT_WORDBREAK | DT_CENTER), 13);
  const std::string three = Ansi(u"Save and exit now");
  RECT narrow{0, 0, 30, 60};
  const int h = gdi.DrawTextA(c.dc, three.data(), static_cast<int>(three.size()), &narrow, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(h % 13, 0);
  EXPECT_GE(h, 3 * 13);
  RECT empty{0, 0, 60, 60};
  EXPECT_EQ(gdi.DrawTextA(c.dc, "", 0, &empty, DT_CALCRECT | DT_WORDBREAK | DT_CENTER), 0);
  EXPECT_TRUE(c.InkBox().right < 0);  // measuring draws nothing
}

TEST_F(DrawText, AUtf8SessionDrawsWhatTheSingleByteOneDraws) {
  // In code page 65001 a character is two bytes here and counts are in bytes; the text,
  // its measure and its pixels are those of the same text in 1256.
  Session utf8Session{CodePage::Get(65001)};
  Gdi& utf8Gdi = utf8Session.gdi();
  const std::u16string text = u"\u062E\u0631\u0648\u062C &Exit";
  const std::string ansi = Ansi(text), utf8 = CodePage::Get(65001).Encode(text);
  ASSERT_EQ(utf8.size(), ansi.size() + 4);
  TextCanvas a(gdi, 90, 40), u(utf8Gdi, 90, 40);
  RECT ra{0, 0, 90, 20}, ru = ra;
  EXPECT_EQ(gdi.DrawTextA(a.dc, ansi.data(), -1, &ra, DT_CALCRECT), utf8Gdi.DrawTextA(u.dc, utf8.data(), -1, &ru, DT_CALCRECT));
  EXPECT_EQ(ra.right, ru.right);
  ra = ru = {0, 0, 90, 20};
  gdi.DrawTextA(a.dc, ansi.data(), static_cast<int>(ansi.size()), &ra, DT_CENTER | DT_SINGLELINE);
  utf8Gdi.DrawTextA(u.dc, utf8.data(), static_cast<int>(utf8.size()), &ru, DT_CENTER | DT_SINGLELINE);
  gdi.TextOutA(a.dc, 2, 22, ansi.data(), static_cast<int>(ansi.size()));
  utf8Gdi.TextOutA(u.dc, 2, 22, utf8.data(), static_cast<int>(utf8.size()));
  int differ = 0, inked = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 90; ++x) {
      differ += u.image.ColorAt(x, y) != a.image.ColorAt(x, y);
      inked += a.image.ColorAt(x, y) != RGB(255, 255, 255);
    }
  EXPECT_EQ(differ, 0);
  EXPECT_GT(inked, 40);  // both lines drawn
}

TEST_F(DrawText, LongWordIsNotBroken) {
  const auto lines = text::BreakLines(u"Unbreakable word", false, true, 10, [](std::u16string_view s) {
    return static_cast<int>(s.size()) * 6;
  });
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, u"Unbreakable");
  EXPECT_EQ(lines[1].text, u"word");
}

TEST_F(DrawText, CentresAndClipsToTheRectangle) {
  TextCanvas c(gdi, 60, 20);
  const std::string s = Ansi(u"II");
  RECT r{10, 2, 50, 15};
  gdi.DrawTextA(c.dc, s.data(), 2, &r, DT_WORDBREAK | DT_CENTER);
  const RECT ink = c.InkBox();
  const int mid2 = ink.left + ink.right;  // twice the ink's middle
  EXPECT_NEAR(mid2, 60, 4);
  EXPECT_GE(ink.top, 2);
  TextCanvas clipped(gdi, 60, 20);
  RECT tiny{0, 0, 60, 5};
  gdi.DrawTextA(clipped.dc, s.data(), 2, &tiny, DT_WORDBREAK | DT_CENTER);
  EXPECT_LT(clipped.InkBox().bottom, 5);
}

// Glyphs that only reach into the clip are left out of nothing: inside it every pixel is
// as drawn without a clip, for outlines regular, overstruck bold and slanted italic, and
// for bitmap strikes.
TEST_F(DrawText, ClippingCutsGlyphsExactlyAtItsEdge) {
  struct Case : FontCase {
    RECT window;
  };
  const Case cases[] = {{{u"Tahoma", -37, 400, 0}, {17, 15, 131, 37}},     {{u"Tahoma", -37, 700, 0}, {17, 15, 131, 37}},
                        {{u"Tahoma", -37, 400, 1}, {17, 15, 131, 37}},     {{u"Tahoma", -37, 700, 1}, {17, 15, 131, 37}},
                        {{u"Tahoma", -11, 400, 0}, {3, 5, 40, 9}},         {{u"MS Sans Serif", -11, 700, 0}, {3, 5, 40, 9}},
                        {{u"MS Sans Serif", -24, 400, 1}, {9, 10, 80, 21}}};
  const std::string s = Ansi(u"Wfj \u0639\u0644\u064A \u00E9g");
  for (const Case& c : cases) {
    Bitmap clipped(160, 60, 0xFFFFFFFFu), whole(160, 60, 0xFFFFFFFFu);
    for (Bitmap* image : {&clipped, &whole}) {
      WithFont(gdi, *image, c, [&](HDC dc) {
        RECT r = c.window;
        // Centred in a window smaller than the text, which overhangs it on all four sides.
        const UINT format = DT_SINGLELINE | DT_CENTER | DT_VCENTER | (image == &whole ? DT_NOCLIP : 0);
        gdi.DrawTextA(dc, s.data(), static_cast<int>(s.size()), &r, format);
      });
    }
    const RECT& w = c.window;
    int inked = 0;
    bool beyond[4] = {};  // ink of the unclipped text left of, above, right of and below the window
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 160; ++x) {
        const bool inside = x >= w.left && x < w.right && y >= w.top && y < w.bottom;
        const bool ink = whole.ColorAt(x, y) != RGB(255, 255, 255);
        ASSERT_EQ(clipped.ColorAt(x, y), inside ? whole.ColorAt(x, y) : RGB(255, 255, 255))
            << "height " << c.height << " weight " << c.weight << " italic " << c.italic << " at " << x << "," << y;
        inked += inside && ink;
        beyond[0] = beyond[0] || (ink && x < w.left);
        beyond[1] = beyond[1] || (ink && y < w.top);
        beyond[2] = beyond[2] || (ink && x >= w.right);
        beyond[3] = beyond[3] || (ink && y >= w.bottom);
      }
    EXPECT_GT(inked, 20) << "height " << c.height;
    EXPECT_TRUE(beyond[0] && beyond[1] && beyond[2] && beyond[3]) << "height " << c.height;
  }
}

// Wherever an image's edge falls across a line of text, the pixels inside are those of the
// same line on a larger image: a glyph reaching in by its last column or row, or by a bold
// glyph's overstruck column alone, is drawn.
TEST_F(TextOut, ImageEdgesCutTextWhereverTheyFall) {
  const FontCase cases[] = {{u"Tahoma", -37, 700, 0}, {u"Tahoma", -37, 400, 1}, {u"MS Sans Serif", -11, 700, 0},
                            {u"MS Sans Serif", -24, 400, 1}};
  const std::string s = Ansi(u"Wfj \u0639\u0644\u064A \u00E9g");
  constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
  for (const FontCase& c : cases) {
    const auto draw = [&](Bitmap& image, int x, int y) {
      WithFont(gdi, image, c, [&](HDC dc) { EXPECT_TRUE(gdi.TextOutA(dc, x, y, s.data(), static_cast<int>(s.size()))); });
    };
    Bitmap whole(200, 60, kWhite);
    draw(whole, 10, 5);
    // Strips of the whole, 5 columns wide at every column and 3 rows high at every row.
    for (int left = 0; left < whole.width(); ++left) {
      Bitmap strip(5, whole.height(), kWhite);
      draw(strip, 10 - left, 5);
      for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width() && left + x < whole.width(); ++x)
          ASSERT_EQ(strip.ColorAt(x, y), whole.ColorAt(left + x, y))
              << "height " << c.height << " weight " << c.weight << " italic " << c.italic << " at " << left + x << ","
              << y << " in the strip from column " << left;
    }
    for (int top = 0; top < whole.height(); ++top) {
      Bitmap strip(whole.width(), 3, kWhite);
      draw(strip, 10, 5 - top);
      for (int y = 0; y < strip.height() && top + y < whole.height(); ++y)
        for (int x = 0; x < strip.width(); ++x)
          ASSERT_EQ(strip.ColorAt(x, y), whole.ColorAt(x, top + y))
              << "height " << c.height << " weight " << c.weight << " italic " << c.italic << " at " << x << ","
              << top + y << " in the strip from row " << top;
    }
  }
}

TEST_F(Prefixes, AmpersandUnderlinesTheNextCharacter) {
  EXPECT_EQ(text::StripPrefixes(u"&Exit").text, u"Exit");
  EXPECT_EQ(text::StripPrefixes(u"&Exit").underline, 0);
  EXPECT_EQ(text::StripPrefixes(u"Save && E&xit").text, u"Save & Exit");
  EXPECT_EQ(text::StripPrefixes(u"Save && E&xit").underline, 8);
  EXPECT_EQ(text::StripPrefixes(u"A&&B").underline, -1);
  EXPECT_EQ(text::StripPrefixes(u"A&").text, u"A");

  // Drawn: "&E" is "E" with an underline row below the baseline; "E" alone has none.
  TextCanvas plain(gdi, 30, 20), prefixed(gdi, 30, 20);
  RECT r1{0, 0, 30, 20}, r2{0, 0, 30, 20};
  gdi.DrawTextA(plain.dc, "E", 1, &r1, DT_WORDBREAK);
  gdi.DrawTextA(prefixed.dc, "&E", 2, &r2, DT_WORDBREAK);
  EXPECT_EQ(prefixed.InkBox().bottom, plain.InkBox().bottom + 2);  // underline at baseline + 1
  TextCanvas noPrefix(gdi, 30, 20);
  RECT r3{0, 0, 30, 20};
  gdi.DrawTextA(noPrefix.dc, "&E", 2, &r3, DT_WORDBREAK | DT_NOPREFIX);
  EXPECT_GT(noPrefix.InkBox().right, plain.InkBox().right);  // the "&" itself is drawn
}

}  // namespace
}  // namespace xpkit

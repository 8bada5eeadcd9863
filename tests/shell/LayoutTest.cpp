// The layout text: values of every type, round trips, and errors that name the file,
// the line and what was wrong.
#include "shell/Layout.h"

#include <gtest/gtest.h>

#include "backends/headless/HeadlessBackend.h"
#include "shell/frmMain.h"

namespace xpkit {
namespace {

const std::string kWindow = "xpkit-layout 1\nwindow w\n  clientwidth = 1500\n  clientheight = 750\nend\n";

TEST(Layout, ReadsEveryValueType) {
  const Layout l = ParseLayout(kWindow + R"(
control b Morvel.XPButton in w   # a comment
  left = 15
  top = 30.5
  width = 600
  height = 300
  set Enabled = false
  set count = -7
  set ratio = 0.25
  set caption = "Say \"hi\"\\ \u0000 \u062E"
  set forecolor = color 0x80000006
  set font = font "Tahoma" 9.75 weight 700 charset 178 italic strikethrough
end
)",
                               "t");
  ASSERT_EQ(l.items.size(), 1u);
  const auto& c = std::get<ControlLayout>(l.items[0]);
  EXPECT_EQ(c.line, 7);
  EXPECT_EQ(c.place.top, 30.5);
  EXPECT_EQ(c.properties.ReadBool("enabled", VbTrue), VbFalse);
  EXPECT_EQ(c.properties.ReadLong("count", 0), -7);
  EXPECT_EQ(std::get<float>(c.properties.ReadProperty("ratio", 0.0f)), 0.25f);
  EXPECT_EQ(c.properties.ReadText("caption", u""), std::u16string(u"Say \"hi\"\\ \0 \u062E", 13));
  EXPECT_EQ(c.properties.ReadColor("forecolor", 0), 0x80000006u);
  const FontDesc f = std::get<FontDesc>(c.properties.ReadProperty("font", FontDesc{}));
  EXPECT_EQ(f, (FontDesc{u"Tahoma", 9.75, 700, true, false, true, 178}));
}

TEST(Layout, FormatReadsBackToTheSameText) {
  const std::string text = FormatLayout(ParseLayout(kWindow + R"(
control b Morvel.XPButton in w
  dock = top
  left = 0
  top = 0
  width = 600.5
  height = 300
  set caption = "tab\there \"q\" \u0001"
  set ratio = 2.0
  set font = font "A B" 8 weight 400 charset 0 underline
end
line l in b
  x1 = 1
  y1 = 2
  x2 = 3
  y2 = 4
end
)",
                                                    "t"));
  EXPECT_EQ(FormatLayout(ParseLayout(text, "t")), text);
  EXPECT_NE(text.find("set ratio = 2.0\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\\u0001"), std::string::npos) << text;
}

struct BadCase {
  std::string text, message;
};

TEST(Layout, FaultsNameTheFileLineAndWhatWasWrong) {
  const std::string control = "control b Morvel.XPButton in w\n  left = 0\n  top = 0\n  width = 10\n  height = 10\n";
  const BadCase cases[] = {
      {"", "f.layout:0: the first line must be 'xpkit-layout 1'"},
      {"xpkit-layout 2\n", "f.layout:1: the first line must be 'xpkit-layout 1'"},
      {"xpkit-layout 1\ncontrol x\n", "f.layout:2: expected 'window NAME'"},
      {"xpkit-layout 1\nwindow w\n  clientwidth = 1500\n", "f.layout:2: window 'w' has no 'end'"},
      {"xpkit-layout 1\nwindow w\n  clientwidth = 1500\nend\n", "f.layout:4: window 'w' needs clientwidth and clientheight"},
      {"xpkit-layout 1\nwindow w\n  colour = 1\nend\n", "f.layout:3: unknown window attribute 'colour'"},
      {"xpkit-layout 1\nwindow w\n  backcolor = 12\nend\n", "f.layout:3: 'backcolor' must be a color"},
      {"xpkit-layout 1\nwindow w\n  backcolor = color red\nend\n", "f.layout:3: color must be written as 0x"},
      {"xpkit-layout 1\nwindow w\n  caption = \"open\nend\n", "f.layout:3: text has no closing quote"},
      {"xpkit-layout 1\nwindow w\n  caption = \"\\q\"\nend\n", "f.layout:3: unknown escape '\\q'"},
      {"xpkit-layout 1\nwindow w\n  clientwidth = 99999999999\nend\n", "f.layout:3: '99999999999' is out of the 32-bit range"},
      {kWindow + "control b Morvel.XPButton in w\n  left = 0\n  top = 0\n  width = 10\nend\n",
       "f.layout:10: control 'b' needs 'height'"},
      {kWindow + "control b Morvel.XPButton in nowhere\n", "f.layout:6: unknown parent 'nowhere'"},
      {kWindow + control + "end\n" + control, "f.layout:12: the name 'b' is used twice"},
      {kWindow + control + "  size = 3\nend\n", "f.layout:11: unknown control attribute 'size'"},
      {kWindow + control + "  set caption = Exit\nend\n", "f.layout:11: 'Exit' is not a value; write texts in quotes"},
      {kWindow + control + "  set a = 1\n  set A = 2\nend\n", "f.layout:12: 'A' is given twice"},
      {kWindow + control + "  dock = left\nend\n", "f.layout:11: 'dock' must be top, bottom or none"},
      {kWindow + control + "  set font = font Tahoma 8\nend\n", "f.layout:11: font must be written as font \"FACE\""},
      {kWindow + "frame x\n", "f.layout:6: expected 'control' or 'line', not 'frame'"},
      {kWindow + "line l in w\n  x1 = 0\nend\n", "f.layout:8: line 'l' needs 'y1'"},
  };
  for (const BadCase& c : cases) {
    try {
      ParseLayout(c.text, "f.layout");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const LayoutError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
    }
  }
}

// Faults only the window's creation can see: the class, and the stored values' types.
TEST(Layout, CreationFaultsNameTheControlsLine) {
  const std::string control = "  left = 0\n  top = 0\n  width = 150\n  height = 150\n";
  const BadCase cases[] = {
      {kWindow + "control b Morvel.XPSlider in w\n" + control + "end\n",
       "f.layout:6: unknown class identifier 'Morvel.XPSlider' (known: Morvel.XPHeader, Morvel.XPButton)"},
      {kWindow + "control b Morvel.XPButton in w\n" + control + "  set forecolor = \"blue\"\nend\n",
       "f.layout:6: control 'b': Type mismatch: property 'ForeColor' holds a String value, not a Color"},
      {kWindow + "control h Morvel.XPHeader in w\n" + control + "  set caption = 12\nend\n",
       "f.layout:6: control 'h': Type mismatch: property 'Caption' holds a Long value, not a String"},
  };
  for (const BadCase& c : cases) {
    HeadlessBackend backend;
    Host host(backend);
    try {
      frmMain form(host, ParseLayout(c.text, "f.layout"));
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const LayoutError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
    }
  }
}

TEST(Layout, ExtentsAreHimetricOfTheSize) {
  EXPECT_EQ(TwipsToHimetric(4965), 8758);
  EXPECT_EQ(TwipsToHimetric(420), 741);
  EXPECT_EQ(TwipsToHimetric(600), 1058);
  EXPECT_EQ(TwipsToHimetric(1590), 2805);
  EXPECT_EQ(TwipsToHimetric(330), 582);
}

}  // namespace
}  // namespace xpkit

// The layout text: values of every type, round trips, the checks that name the file, the
// line and the key, and windows built from layouts with the kit's classes and a caller's.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <vector>

#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/backends/headless/HeadlessDriver.h"
#include "xpkit/controls/button/XPButton.h"
#include "xpkit/controls/header/XPHeader.h"
#include "xpkit/layout/ControlRegistry.h"
#include "xpkit/layout/Layout.h"
#include "xpkit/layout/LayoutError.h"
#include "xpkit/layout/LayoutFile.h"
#include "xpkit/layout/LayoutForm.h"
#include "xpkit/platform/text/TextLimits.h"

namespace xpkit {
namespace {

// A caller's own control with a stored property of every type.
class Gauge : public UserControl {
 public:
  static const PropertyTable<Gauge, 6>& Properties() {
    static constexpr PropertyTable<Gauge, 6> kTable{{{
        Field<Gauge, [](auto& g) -> auto& { return g.shown; }, kConstant<true>>("Shown"),
        Field<Gauge, [](auto& g) -> auto& { return g.count; }, kConstant<0>>("Count"),
        Field<Gauge, [](auto& g) -> auto& { return g.needle; }, kConstant<OLE_COLOR{0}>>("Needle"),
        Field<Gauge, [](auto& g) -> auto& { return g.ratio; }, kConstant<0.0f>>("Ratio"),
        Field<Gauge, [](auto& g) -> auto& { return g.label; }, [](const Gauge&) { return std::u16string(); }>("Label"),
        Field<Gauge, [](auto& g) -> auto& { return g.font; }, kContainerFont>("Font"),
    }}};
    return kTable;
  }
  void OnReadProperties(const PropertyBag& bag) override { Properties().Load(*this, bag); }
  void OnWriteProperties(PropertyBag& bag) override { Properties().Save(*this, bag); }

  bool shown = true;
  std::int32_t count = 0;
  OLE_COLOR needle = 0;
  float ratio = 0;
  std::u16string label;
  FontRef font;
};

ControlRegistry WithGauge() {
  ControlRegistry r;
  r.Register<Gauge>("Test.Gauge");
  return r;
}

const std::string kWindow = "xpkit-layout 1\nwindow w\n  clientwidth = 1500\n  clientheight = 750\nend\n";
const std::string kPlace = "  left = 15\n  top = 30\n  width = 600\n  height = 300\n";

TEST(Layout, ReadsEveryValueTypeIntoTheClassesOwnKeys) {
  const Layout l = ParseLayout(kWindow + R"(
control g Test.Gauge in w   # a comment
  left = 15
  top = 30.5
  width = 600
  height = 300
  set SHOWN = false
  set count = -7
  set ratio = 0.25
  set label = "Say \"hi\"\\ \u0000 )" + "\xD8\xAE" + R"("
  set needle = color 0x80000006
  set font = font "Tahoma" 9.75 weight 700 charset 178 italic strikethrough
end
)",
                               "t", WithGauge());
  ASSERT_EQ(l.items.size(), 1u);
  const auto& c = std::get<ControlLayout>(l.items[0]);
  EXPECT_EQ(c.line, 7);
  EXPECT_EQ(c.place.top, 30.5);
  // Stored under the class's own spelling of each key.
  EXPECT_EQ(c.properties.entries()[0].first, "Shown");
  EXPECT_EQ(c.properties.ReadBool("shown", VbTrue), VbFalse);
  EXPECT_EQ(c.properties.ReadLong("count", 0), -7);
  EXPECT_EQ(c.properties.ReadSingle("ratio", 0), 0.25f);
  EXPECT_EQ(c.properties.ReadText("label", u""), std::u16string(u"Say \"hi\"\\ \0 \u062E", 13));
  EXPECT_EQ(c.properties.ReadColor("needle", 0), 0x80000006u);
  const FontDesc f = std::get<FontDesc>(c.properties.ReadProperty("font", FontDesc{}));
  EXPECT_EQ(f, (FontDesc{u"Tahoma", 9.75, 700, true, false, true, 178}));
}

TEST(Layout, FormatReadsBackToTheSameText) {
  const ControlRegistry registry = WithGauge();
  const std::string text = FormatLayout(ParseLayout(kWindow + R"(
control g Test.Gauge in w
  dock = top
  left = -245760
  top = 0.1
  width = 600.5
  height = 245760
  set label = "tab\there \"q\" \u0001"
  set ratio = 2.0
  set count = 2147483647
  set font = font "A B" 8 weight 400 charset 0 underline
end
line l in g
  x1 = 1
  y1 = 2
  x2 = 3
  y2 = -4.25
end
)",
                                                    "t", registry));
  EXPECT_EQ(FormatLayout(ParseLayout(text, "t", registry)), text);
  EXPECT_EQ(FormatLayout(ParseLayout("\xEF\xBB\xBF" + text, "t", registry)), text);  // an editor's byte-order mark
  EXPECT_NE(text.find("  top = 0.1\n"), std::string::npos) << text;
  EXPECT_NE(text.find("set ratio = 2.0\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\\u0001"), std::string::npos) << text;
}

struct BadCase {
  std::string text, message, key;
};

// Each text is refused with a message that starts as given and names the case's key.
void ExpectRefused(std::span<const BadCase> cases) {
  for (const BadCase& c : cases) {
    try {
      ParseLayout(c.text, "f.layout");
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const LayoutError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
      EXPECT_EQ(e.key(), c.key) << e.what();
      EXPECT_EQ(e.code(), ErrorCode::BadLayout);
    }
  }
}

TEST(Layout, FaultsNameTheFileLineAndKey) {
  const std::string button = "control b Morvel.XPButton in w\n" + kPlace;
  const std::string line = "line l in w\n  x1 = 0\n  y1 = 0\n  x2 = 0\n";
  const BadCase cases[] = {
      {"", "f.layout:1: the file is empty; its first line must be 'xpkit-layout 1'", ""},
      {"xpkit-layout 2\n", "f.layout:1: the first line must be 'xpkit-layout 1'", ""},
      {"xpkit-layout 1\ncontrol x\n", "f.layout:2: expected 'window NAME'", ""},
      {"xpkit-layout 1\nwindow w\n  clientwidth = 1500\n", "f.layout:2: window 'w' has no 'end'", ""},
      {"xpkit-layout 1\nwindow w\n  clientwidth = 1500\nend\n", "f.layout:4: window 'w' needs 'clientheight'", ""},
      {"xpkit-layout 1\nwindow w\n  colour = 1\nend\n", "f.layout:3: unknown attribute 'colour' in window 'w'",
       "colour"},
      {"xpkit-layout 1\nwindow w\n  backcolor = 12\nend\n", "f.layout:3: 'backcolor' must be a color", "backcolor"},
      {"xpkit-layout 1\nwindow w\n  backcolor = color red\nend\n", "f.layout:3: 'backcolor': color must be written as 0x",
       "backcolor"},
      {"xpkit-layout 1\nwindow w\n  caption = \"open\nend\n", "f.layout:3: text has no closing quote", ""},
      {"xpkit-layout 1\nwindow w\n  caption = \"\\q\"\nend\n", "f.layout:3: unknown escape '\\q' in the text of 'caption'",
       "caption"},
      {"xpkit-layout 1\nwindow w\n  clientwidth = 99999999999\nend\n",
       "f.layout:3: 'clientwidth' must be a number from 15 to 245760", "clientwidth"},
      // Lines are UTF-8 in its shortest form, without surrogates, up to U+10FFFF, comments too.
      {"xpkit-layout 1\nwindow w\n  caption = \"\xC0\xAF\"\nend\n", "f.layout:3: line is not valid UTF-8", ""},
      {"xpkit-layout 1\nwindow w\n  caption = \"\xED\xA0\x80\"\nend\n", "f.layout:3: line is not valid UTF-8", ""},
      {"xpkit-layout 1\nwindow w\n  caption = \"\xF4\x90\x80\x80\"\nend\n", "f.layout:3: line is not valid UTF-8", ""},
      {"xpkit-layout 1\nwindow w  # caf\xE9\n", "f.layout:2: line is not valid UTF-8", ""},
      {"\xFF\xFEx\0", "f.layout:1: the file is UTF-16; a layout is UTF-8 text", ""},
      {std::string("xpkit-layout 1\nwindow w\n  caption \0= \"\"\n", 37), "f.layout:3: unexpected character U+0000", ""},
      {"xpkit-layout 1\nwindow w\n  caption ≠ \"\"\n", "f.layout:3: unexpected character '≠'", ""},
      {kWindow + "control b Morvel.XPButton in w\n  left = 0\n  top = 0\n  width = 10\nend\n",
       "f.layout:10: control 'b' needs 'height'", ""},
      {kWindow + "control b Morvel.XPButton in nowhere\n", "f.layout:6: unknown parent 'nowhere'", ""},
      {kWindow + "control b Morvel.XPButton in b\n", "f.layout:6: unknown parent 'b'", ""},
      {kWindow + "line l in l\n", "f.layout:6: unknown parent 'l'", ""},
      {kWindow + "control b Morvel.XPSlider in w\n",
       "f.layout:6: unknown class identifier 'Morvel.XPSlider' (known: Morvel.XPHeader, Morvel.XPButton)", ""},
      {kWindow + button + "end\n" + button, "f.layout:12: the name 'b' is used twice", ""},
      {kWindow + button + "  size = 3\nend\n", "f.layout:11: unknown attribute 'size' in control 'b'", "size"},
      // Positions, sizes and line ends stay within 16384 pixels (245760 twips).
      {kWindow + "control b Morvel.XPButton in w\n  left = 1e30\n", "f.layout:7: 'left' must be a number from -245760",
       "left"},
      {kWindow + "control b Morvel.XPButton in w\n  width = 99999999\n",
       "f.layout:7: 'width' must be a number from 0 to 245760, not '99999999'", "width"},
      {kWindow + "control b Morvel.XPButton in w\n  height = -15\n", "f.layout:7: 'height' must be a number from 0",
       "height"},
      {kWindow + "line l in w\n  x1 = -3e11\n", "f.layout:7: 'x1' must be a number from -245760 to 245760", "x1"},
      {kWindow + "line l in w\n  y2 = nan\n", "f.layout:7: 'y2' must be a number of twips", "y2"},
      // Stored properties: only the class's own keys, each of its type.
      {kWindow + button + "  set captoin = \"Exit\"\nend\n",
       "f.layout:11: control 'b' (Morvel.XPButton) has no stored property 'captoin' (it has: Enabled, Font, Caption, "
       "ForeColor, ForeHover)",
       "captoin"},
      {kWindow + button + "  set onclick = \"End\"\nend\n", "f.layout:11: control 'b' (Morvel.XPButton) has no",
       "onclick"},
      {kWindow + button + "  set caption = Exit\nend\n", "f.layout:11: 'caption' must be a text in quotes, not 'Exit'",
       "caption"},
      {kWindow + button + "  set forecolor = \"blue\"\nend\n", "f.layout:11: 'forecolor' must be a color", "forecolor"},
      {kWindow + button + "  set enabled = 1\nend\n", "f.layout:11: 'enabled' must be true or false", "enabled"},
      {kWindow + button + "  set caption = \"a\"\n  set CAPTION = \"b\"\nend\n", "f.layout:12: 'caption' is given twice",
       "caption"},
      {kWindow + button + "  dock = Top\nend\n", "f.layout:11: 'dock' must be top, bottom or none (in lower case), not 'Top'",
       "dock"},
      {kWindow + button + "  set font = font Tahoma 8\nend\n", "f.layout:11: 'font': font must be written as font \"FACE\"",
       "font"},
      {kWindow + button + "  set font = font \"Tahoma\" 8 bold\nend\n",
       "f.layout:11: 'font': unknown font attribute 'bold' (known: weight N, charset N, italic, underline, strikethrough; "
       "bold is weight 700)",
       "font"},
      {kWindow + button + "  set font = font \"Tahoma\" 0\nend\n", "f.layout:11: 'font': font size must be a number of "
       "points more than 0 and at most 1638, not '0'", "font"},
      {kWindow + button + "  set font = font \"T\" 8 weight 700 weight 400\nend\n",
       "f.layout:11: 'font': font weight is given twice", "font"},
      // A block left open is reported where it starts, whatever follows it.
      {kWindow + button + "control c Morvel.XPButton in w\n" + kPlace + "end\n",
       "f.layout:6: control 'b' has no 'end' (line 11 starts another block)", ""},
      {kWindow + line + "  y2 = 0\nend\nline m in l\n", "f.layout:12: 'l' is a line and holds no lines", ""},
      {kWindow + "frame x\n", "f.layout:6: expected 'control' or 'line', not 'frame'", ""},
      {kWindow + line + "end\n", "f.layout:10: line 'l' needs 'y2'", ""},
  };
  ExpectRefused(cases);
}

// Texts are counted in characters after their escapes, face names likewise; at the limit
// they are read, one past it they are refused where they are given.
TEST(Layout, TextsAndFaceNamesStopAtTheirLimits) {
  const std::string button = "control b Morvel.XPButton in w\n" + kPlace;
  auto caption = [](std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += i % 2 ? "\u062E" : "\\u0041";  // two bytes, or one escaped
    return s;
  };
  auto font = [](std::size_t n) { return "  set font = font \"" + std::string(n, 'F') + "\" 8\n"; };
  const Layout l = ParseLayout(kWindow + button + "  set caption = \"" + caption(kMaxText) + "\"\n" +
                                   font(kMaxFaceName) + "end\n",
                               "f.layout");
  const auto& props = std::get<ControlLayout>(l.items[0]).properties;
  EXPECT_EQ(props.ReadText("caption", u"").size(), kMaxText);
  EXPECT_EQ(std::get<FontDesc>(props.ReadProperty("font", FontDesc{})).name, std::u16string(kMaxFaceName, u'F'));
  const BadCase cases[] = {
      {kWindow + button + "  set caption = \"" + caption(kMaxText + 1) + "\"\n",
       "f.layout:11: 'caption' is 1025 characters long; a text is at most 1024", "caption"},
      {kWindow + button + font(kMaxFaceName + 1),
       "f.layout:11: 'font': the face name is 32 characters long; a face name is at most 31", "font"},
      {"xpkit-layout 1\nwindow w\n  caption = \"" + std::string(kMaxText + 1, 'x') + "\"\n",
       "f.layout:3: 'caption' is 1025 characters long", "caption"},
  };
  ExpectRefused(cases);
}

// What the kit writes it reads back: a text or face name a program sets past those limits
// is refused by the writer, naming the block and the key, and no file is written.
TEST(Layout, TextsAndFaceNamesPastTheirLimitsAreNotWritten) {
  HeadlessBackend backend;
  Host host(backend);
  LayoutForm form(host, ParseLayout(kWindow + "control b Morvel.XPButton in w\n" + kPlace + "end\n", "f.layout"));
  XPButton& b = form.Control<XPButton>("b");
  auto face = [](std::size_t n) { return MakeFont(FontDesc{std::u16string(n, u'F'), 8, 400, false, false, false, 0}); };
  form.Caption = std::u16string(kMaxText, u'w');
  b.SetCaption(std::u16string(kMaxText, u'b'));
  b.SetFont(face(kMaxFaceName));
  const std::string atTheLimits = FormatLayout(form.SaveLayout());
  EXPECT_EQ(FormatLayout(ParseLayout(atTheLimits, "t")), atTheLimits);
  auto refusal = [](const Layout& layout) {
    try {
      FormatLayout(layout);
      return std::string("written");
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::BadLayout);
      return std::string(e.what());
    }
  };
  b.SetFont(face(kMaxFaceName + 1));
  EXPECT_EQ(refusal(form.SaveLayout()),
            "cannot write control 'b': the face name of 'font' is 32 characters long; a face name is at most 31");
  b.SetFont(face(kMaxFaceName));
  b.SetCaption(std::u16string(kMaxText + 1, u'b'));
  EXPECT_EQ(refusal(form.SaveLayout()), "cannot write control 'b': 'caption' is 1025 characters long; a text is at most 1024");
  form.Caption = std::u16string(kMaxText + 1, u'w');
  EXPECT_EQ(refusal(form.SaveLayout()), "cannot write window 'w': 'caption' is 1025 characters long; a text is at most 1024");
  Layout code = ParseLayout(kWindow, "t");
  code.window.font = FontDesc{std::u16string(kMaxFaceName + 1, u'F')};
  EXPECT_EQ(refusal(code), "cannot write window 'w': the face name of 'font' is 32 characters long; a face name is at most 31");

  // The file keeps what it held, and no other is left beside it.
  const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "xpkit-layout-refused";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "saved.layout").string();
  std::ofstream(path) << "before";
  EXPECT_THROW(WriteLayoutFile(path, form.SaveLayout()), Error);
  std::ifstream in(path);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "before");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
  std::filesystem::remove_all(dir);
}

// A layout put together in code skips the reader's checks; creation still names the line.
TEST(Layout, CreationFaultsNameTheControlsLine) {
  Layout layout = ParseLayout(kWindow, "f.layout");
  ControlLayout c;
  c.name = "b";
  c.classId = XPButton::kClassId;
  c.parent = "w";
  c.place = {0, 0, 150, 150};
  c.properties.WriteProperty("ForeColor", std::u16string(u"blue"));
  c.line = 9;
  layout.items.emplace_back(c);
  HeadlessBackend backend;
  Host host(backend);
  try {
    LayoutForm form(host, layout);
    ADD_FAILURE() << "accepted a text as a colour";
  } catch (const LayoutError& e) {
    EXPECT_STREQ(e.what(),
                 "f.layout:9: control 'b': Type mismatch: property 'ForeColor' holds a String value, not a Color");
  }
}

TEST(LayoutForm, ControlsAreFoundByNameAndClassAtAnyDepth) {
  const ControlRegistry registry = WithGauge();
  const Layout layout = ParseLayout(kWindow + "control bar Morvel.XPHeader in w\n" + kPlace +
                                        "end\ncontrol ok Morvel.XPButton in bar\n" + kPlace +
                                        "  set caption = \"&OK\"\nend\ncontrol g Test.Gauge in bar\n" + kPlace +
                                        "  set count = 3\nend\n",
                                    "t", registry);
  HeadlessBackend backend;
  Host host(backend);
  LayoutForm form(host, layout, registry);
  XPButton& ok = form.Control<XPButton>("ok");  // inside the banner
  EXPECT_EQ(ok.Caption(), u"&OK");
  EXPECT_EQ(form.Control<Gauge>("g").count, 3);
  EXPECT_EQ(form.FindControl<XPHeader>("ok"), nullptr);
  EXPECT_THROW(form.Control<XPHeader>("ok"), Error);
  EXPECT_THROW(form.Control<XPButton>("nothing"), Error);
  int clicks = 0;
  ok.Click.Connect([&] { ++clicks; });
  form.Show();
  HeadlessDriver(host, form).Key('O', vbAltMask);
  EXPECT_EQ(clicks, 1);
  // The caller's class saves through its own table and comes back the same.
  EXPECT_EQ(FormatLayout(form.SaveLayout()), FormatLayout(ParseLayout(FormatLayout(form.SaveLayout()), "t", registry)));
  EXPECT_NE(FormatLayout(form.SaveLayout()).find("control g Test.Gauge in bar"), std::string::npos);
}

// A control with nothing stored is a new instance, whether a layout block without `set`
// lines or C++ placed it; one stored value makes it load, every other key at its reading
// default.
TEST(LayoutForm, NothingStoredMeansNewInstanceDefaultsFromALayoutAsFromCpp) {
  const std::string text = "xpkit-layout 1\nwindow w\n  clientwidth = 3000\n  clientheight = 1500\n"
                           "  forecolor = color 0x000000FF\nend\n"
                           "control Banner Morvel.XPHeader in w\n" + kPlace + "end\n"
                           "control XPButton1 Morvel.XPButton in w\n" + kPlace + "end\n"
                           "control XPButton2 Morvel.XPButton in w\n" + kPlace + "  set enabled = true\nend\n";
  HeadlessBackend backend;
  Host host(backend);
  LayoutForm form(host, ParseLayout(text, "t"));
  Form coded(host, "w", 200, 100);
  coded.ForeColor = 0x000000FF;
  for (XPButton* b : {&form.Control<XPButton>("XPButton1"), &coded.Add<XPButton>("XPButton1", {15, 30, 600, 300})}) {
    EXPECT_EQ(b->Caption(), u"Command1");
    EXPECT_EQ(b->ForeColor(), 0x80000006u);  // the window frame, not the container's
    EXPECT_EQ(b->ForeHover(), 0u);
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(b->Font(), b->Parent()->ContainerFont());
  }
  for (XPHeader* h : {&form.Control<XPHeader>("Banner"), &coded.Add<XPHeader>("Banner", {15, 30, 600, 300})}) {
    EXPECT_EQ(h->Caption(), u"Banner");
    EXPECT_EQ(h->Description(), u"Add you description text here");
    EXPECT_EQ(h->BorderStyle(), 1);
    EXPECT_EQ(h->Font(), h->Parent()->ContainerFont());
  }
  const XPButton& loaded = form.Control<XPButton>("XPButton2");
  EXPECT_EQ(loaded.Caption(), u"XPButton2");
  EXPECT_EQ(loaded.ForeColor(), 0x000000FFu);
  EXPECT_EQ(loaded.ForeHover(), 0x000000FFu);

  // A banner at its defaults saves nothing and comes back a new instance, the same; the
  // new button keeps its caption and colours (black is not the container's foreground).
  const std::string saved = FormatLayout(form.SaveLayout());
  const std::string extents = "  _extentx = 1058\n  _extenty = 529\n";
  EXPECT_NE(saved.find("control Banner Morvel.XPHeader in w\n" + kPlace + extents + "end\n"), std::string::npos);
  EXPECT_NE(saved.find("control XPButton1 Morvel.XPButton in w\n" + kPlace + extents +
                       "  set caption = \"Command1\"\n  set forecolor = color 0x80000006\n"
                       "  set forehover = color 0x00000000\nend\n"),
            std::string::npos);
  LayoutForm again(host, ParseLayout(saved, "t"));
  EXPECT_EQ(FormatLayout(again.SaveLayout()), saved);
}

// Bounds past single values. Every big layout is made here; each control block below
// takes 6 lines, and the first starts at line 6.
std::string Window(int widthPx, int heightPx) {
  return "xpkit-layout 1\nwindow w\n  clientwidth = " + std::to_string(widthPx * 15) +
         "\n  clientheight = " + std::to_string(heightPx * 15) + "\nend\n";
}
std::string Block(const std::string& name, const std::string& cls, const std::string& parent, int width, int height,
                  const std::string& more = "") {
  return "control " + name + " " + cls + " in " + parent +
         "\n  left = 0\n  top = 0\n  width = " + std::to_string(width) + "\n  height = " + std::to_string(height) +
         "\n" + more + "end\n";
}
std::string Numbered(int i) { return std::string(1, 'c').append(std::to_string(i)); }
// What ParseLayout says of a text: its fault, or "accepted".
std::string Verdict(const std::string& text) {
  try {
    ParseLayout(text, "f.layout");
    return "accepted";
  } catch (const LayoutError& e) {
    return e.what();
  }
}
const std::string kBudget = "budget of 4194304 pixels for the window's client area and every control's image";

TEST(LayoutBounds, ControlsNest64DeepAndALayoutHolds2048Items) {
  std::string deep = Window(20, 20);
  for (int i = 1; i <= 64; ++i) deep += Block(Numbered(i), "Morvel.XPHeader", i == 1 ? "w" : Numbered(i - 1), 150, 150);
  deep += "line l in c64\n  x1 = 0\n  y1 = 0\n  x2 = 15\n  y2 = 0\nend\n";  // a line holds nothing: no deeper
  const Layout layout = ParseLayout(deep, "f.layout");
  HeadlessBackend backend;
  Host host(backend);
  LayoutForm form(host, layout);
  EXPECT_EQ(form.Control<XPHeader>("c64").Parent(), &form.Control<XPHeader>("c63"));
  EXPECT_EQ(Verdict(deep + Block("c65", "Morvel.XPHeader", "c64", 150, 150)),
            "f.layout:396: control 'c65' would lie 65 deep; controls nest at most 64 deep (those in the window are 1 "
            "deep)");

  std::string many = Window(20, 20);
  for (int i = 1; i <= 2047; ++i) many += Block(Numbered(i), "Morvel.XPButton", "w", 15, 15);
  many += "line l in w\n  x1 = 0\n  y1 = 0\n  x2 = 15\n  y2 = 0\nend\n";
  EXPECT_EQ(Verdict(many), "accepted");
  EXPECT_EQ(Verdict(many + Block("last", "Morvel.XPButton", "w", 15, 15)),
            "f.layout:12294: a layout holds at most 2048 controls and lines; 'last' is one more");
}

TEST(LayoutBounds, SizesInsideAButtonAreBoundedInPixels) {
  const std::string button = Window(200, 100) + Block("b", "Morvel.XPButton", "w", 1590, 330);
  const std::string inside = " (inside 'b', which places its controls in pixels)";
  EXPECT_EQ(Verdict(button + Block("h", "Morvel.XPHeader", "b", 245760, 5)),
            "f.layout:15: 'width' must be a number from 0 to 16384" + inside + ", not '245760'");
  EXPECT_EQ(Verdict(button + "line l in b\n  x1 = -16385\n"),
            "f.layout:13: 'x1' must be a number from -16384 to 16384" + inside + ", not '-16385'");
  EXPECT_EQ(Verdict(button + Block("h", "Morvel.XPHeader", "b", 16384, 5)), "accepted");
  EXPECT_EQ(Verdict(Window(200, 100) + Block("h", "Morvel.XPHeader", "w", 245760, 5)), "accepted");  // twips

  // Docked inside the button, a banner spans the button's 106 pixels, not 106 x 15.
  HeadlessBackend backend;
  Host host(backend);
  LayoutForm form(host, ParseLayout(button + Block("h", "Morvel.XPHeader", "b", 0, 5, "  dock = top\n"), "t"));
  RECT r{};
  host.session().user().GetClientRect(form.Control<XPHeader>("h").hWnd(), &r);
  EXPECT_EQ(r.right, 106);
  EXPECT_EQ(r.bottom, 5);

  // A class that does not say it draws in pixels is still held to 16384 pixels by the
  // host, and a control refused is not kept.
  XPButton& b = form.Control<XPButton>("b");
  try {
    b.Add<Gauge>("g", {0, 0, 20000, 10});
    ADD_FAILURE() << "a control 20000 pixels wide was made";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::InvalidProcedureCall);
    EXPECT_STREQ(e.what(),
                 "Invalid procedure call or argument: control 'g': its width must be a number of pixels from 0 to "
                 "16384 (its container places its controls in pixels), not 20000");
  }
  EXPECT_EQ(b.controls().size(), 1u);  // the banner alone
}

TEST(LayoutBounds, TheWindowAndTheImagesShareOneBudgetOfPixels) {
  EXPECT_EQ(Verdict(Window(2048, 2048)), "accepted");
  EXPECT_EQ(Verdict(Window(2048, 2049)), "f.layout:2: window 'w' is 2048 x 2049 pixels, past the layout's " + kBudget);
  // A control counts 16 pixels wider and higher than it is, and a docked one is as wide
  // as its parent: 1024 x 1024 + (1024 + 16) x (3009 + 16) is one budget and 272 pixels.
  const std::string docked = Window(1024, 1024) + Block("d", "Morvel.XPHeader", "w", 0, 3009 * 15, "  dock = top\n");
  EXPECT_EQ(Verdict(docked),
            "f.layout:6: control 'd' (1024 x 3009 pixels) takes the layout past its " + kBudget);
  EXPECT_EQ(Verdict(Window(1024, 1024) + Block("d", "Morvel.XPHeader", "w", 0, 3009 * 15)), "accepted");
  // In a window wider than high, docked is as wide as the window: 2048 x 64 + 2064 x 1968
  // fits, one row more does not.
  const std::string wide = Window(2048, 64);
  EXPECT_EQ(Verdict(wide + Block("d", "Morvel.XPHeader", "w", 0, 1952 * 15, "  dock = bottom\n")), "accepted");
  EXPECT_EQ(Verdict(wide + Block("d", "Morvel.XPHeader", "w", 0, 1953 * 15, "  dock = bottom\n")),
            "f.layout:6: control 'd' (2048 x 1953 pixels) takes the layout past its " + kBudget);
  // Inside a button, sizes count as pixels: 64 x 64 + 17 x 17 + 2048 x 2046 is too many.
  const std::string button = Window(64, 64) + Block("b", "Morvel.XPButton", "w", 15, 15);
  EXPECT_EQ(Verdict(button + Block("h", "Morvel.XPHeader", "b", 2032, 2029)), "accepted");
  EXPECT_EQ(Verdict(button + Block("h", "Morvel.XPHeader", "b", 2032, 2030)),
            "f.layout:12: control 'h' (2032 x 2030 pixels) takes the layout past its " + kBudget);
}

TEST(LayoutBounds, AControlThatCannotBeMadeIsAnError) {
  HeadlessBackend backend;
  Host host(backend);
  Gdi& gdi = host.session().gdi();
  std::vector<HPEN> pens;
  while (const HPEN pen = gdi.CreatePen(PS_SOLID, 1, 0)) pens.push_back(pen);  // every GDI object in use
  const Layout layout = ParseLayout(Window(200, 100) + Block("b", "Morvel.XPButton", "w", 1590, 330), "f.layout");
  const std::string full =
      "Out of memory: no device context can be made for a control's image: every GDI object of "
      "this session is in use";
  try {
    LayoutForm form(host, layout);
    ADD_FAILURE() << "a control without a device context was made";
  } catch (const LayoutError& e) {
    EXPECT_EQ(e.what(), "f.layout:6: control 'b': " + full);
  }
  Form form(host, "frm", 200, 100);
  try {
    form.Add<XPButton>("b", {0, 0, 150, 150});
    ADD_FAILURE() << "a control without a device context was made";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::OutOfMemory);
    EXPECT_EQ(e.what(), full);
  }
  EXPECT_TRUE(form.controls().empty());
  // With room again (its image, its font and what it draws with), the same control is made.
  for (int i = 0; i < 8; ++i) gdi.DeleteObject(pens[pens.size() - 1 - i]);
  EXPECT_EQ(form.Add<XPButton>("b", {0, 0, 150, 150}).Name(), "b");
}

TEST(LayoutBounds, ALongWordIsEchoedCutAtACharacter) {
  const std::string key(1000, 'k');
  EXPECT_EQ(Verdict("xpkit-layout 1\nwindow w\n  " + key + " = 1\n"),
            "f.layout:3: unknown attribute '" + key.substr(0, 80) +
                "…' (1000 bytes in all) in window 'w' (known: caption, clientwidth, clientheight, backcolor, "
                "forecolor, font, fixedsize, toolwindow, minbutton, maxbutton, showintaskbar, centred, "
                "defaultbutton, cancelbutton)");
  // Up to 80 characters a word is echoed whole.
  EXPECT_EQ(Verdict("xpkit-layout 1\nwindow " + key.substr(0, 80) + "\n"),
            "f.layout:2: window '" + key.substr(0, 80) + "' has no 'end'");
  EXPECT_EQ(Verdict("xpkit-layout 1\nwindow " + key.substr(0, 81) + "\n"),
            "f.layout:2: window '" + key.substr(0, 80) + "…' (81 bytes in all) has no 'end'");
  std::string accents;
  for (int i = 0; i < 100; ++i) accents += "é";
  EXPECT_EQ(Verdict("xpkit-layout 1\nwindow w\n  caption = \"x\" \"" + accents + "\"\n"),
            "f.layout:3: unexpected '" + accents.substr(0, 160) + "…' (200 bytes in all) after the value of 'caption'");
}

TEST(ControlRegistry, IdentifiersAreUniqueAndClassesExact) {
  ControlRegistry r;
  EXPECT_THROW(r.Register<XPButton>(XPButton::kClassId), Error);
  r.Register<Gauge>("Test.Gauge");
  EXPECT_EQ(r.KnownClasses(), "Morvel.XPHeader, Morvel.XPButton, Test.Gauge");
  ASSERT_NE(r.Find("Test.Gauge"), nullptr);
  EXPECT_EQ(r.Find("Test.Gauge")->KnownProperties(), "Shown, Count, Needle, Ratio, Label, Font");
  EXPECT_EQ(r.Find("test.gauge"), nullptr);  // identifiers match exactly
}

TEST(Layout, ExtentsAreHimetricOfTheSize) {
  EXPECT_EQ(TwipsToHimetric(4965), 8758);
  EXPECT_EQ(TwipsToHimetric(420), 741);
  EXPECT_EQ(TwipsToHimetric(600), 1058);
  EXPECT_EQ(TwipsToHimetric(1590), 2805);
  EXPECT_EQ(TwipsToHimetric(330), 582);
}

TEST(LayoutForm, DefaultAndCancelButtonsNameControlsOfTheWindow) {
  auto window = [](const std::string& attributes) {
    return "xpkit-layout 1\nwindow w\n  clientwidth = 1500\n  clientheight = 750\n" + attributes +
           "end\ncontrol bar Morvel.XPHeader in w\n" + kPlace + "end\ncontrol ok Morvel.XPButton in bar\n" + kPlace +
           "end\ncontrol no Morvel.XPButton in w\n" + kPlace + "end\nline l in w\n  x1 = 0\n  y1 = 0\n  x2 = 0\n  y2 = 0\nend\n";
  };
  HeadlessBackend backend;
  Host host(backend);
  LayoutForm form(host, ParseLayout(window("  DefaultButton = \"ok\"\n  cancelbutton = \"no\"\n"), "t"));
  EXPECT_EQ(form.DefaultButton, &form.Control<XPButton>("ok"));  // inside the banner
  EXPECT_EQ(form.CancelButton, &form.Control<XPButton>("no"));
  int cancelled = 0;
  form.Control<XPButton>("no").Click.Connect([&] { ++cancelled; });
  form.Show();
  HeadlessDriver input(host, form);
  input.Activate();
  input.Key(vbKeyEscape);
  EXPECT_EQ(cancelled, 1);
  const std::string saved = FormatLayout(form.SaveLayout());
  EXPECT_NE(saved.find("  defaultbutton = \"ok\"\n  cancelbutton = \"no\"\n"), std::string::npos) << saved;
  form.CancelButton = nullptr;
  EXPECT_EQ(FormatLayout(form.SaveLayout()).find("cancelbutton"), std::string::npos);
  // A default button the program added is not saved, and not named: the layout reads back.
  form.DefaultButton = &form.Add<XPButton>("extra", {0, 0, 150, 150});
  const std::string resaved = FormatLayout(form.SaveLayout());
  EXPECT_EQ(resaved.find("defaultbutton"), std::string::npos) << resaved;
  EXPECT_NO_THROW(ParseLayout(resaved, "t"));

  const BadCase cases[] = {
      {window("  defaultbutton = \"l\"\n"), "f.layout:2: defaultbutton 'l' is not a control of the window",
       "defaultbutton"},
      {window("  cancelbutton = \"w\"\n"), "f.layout:2: cancelbutton 'w' is not a control of the window",
       "cancelbutton"},
      {window("  cancelbutton = \"nothing\"\n"), "f.layout:2: cancelbutton 'nothing' is not a control", "cancelbutton"},
  };
  ExpectRefused(cases);
}

}  // namespace
}  // namespace xpkit

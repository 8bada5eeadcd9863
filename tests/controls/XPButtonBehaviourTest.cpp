// The button's event sequences driven through the host's input, its access keys, its
// properties and how they are stored.
#include <gtest/gtest.h>

#include "xpkit/platform/Gdi.h"
#include "controls/ButtonFixture.h"

namespace xpkit::test {
namespace {

using Log = std::vector<std::string>;

class ButtonEvents : public ButtonTest {
 protected:
  ButtonEvents() : b(Place(106, 22, u"&Exit")) { Record(b); }
  void Enter() { input.MoveTo(kX + 50, kY + 10); }
  void Leave() { input.MoveTo(300, 140); }
  XPButton& b;
};

// ---- Pointer and mouse buttons ----

TEST_F(ButtonEvents, EntryClickAndExit) {
  Enter();
  EXPECT_EQ(Look(b), "hover");
  EXPECT_TRUE(b.hoverTimer().Enabled());
  input.Click(kX + 51, kY + 10);
  Leave();
  EXPECT_EQ(TakeLog(), (Log{"cmdExit.MouseOver", "cmdExit.MouseMove 0 0", "cmdExit.MouseMove 0 0",
                            "cmdExit.MouseDown 1 0", "cmdExit.MouseUp 1 0", "cmdExit.Click"}));
  EXPECT_EQ(Look(b), "hover");  // until the timer looks
  input.Advance(1);
  EXPECT_EQ(TakeLog(), Log{"cmdExit.MouseOut"});
  EXPECT_FALSE(b.hoverTimer().Enabled());
  // The press focused the button, so the focus glow remains.
  EXPECT_EQ(Look(b), "focus");
}

TEST_F(ButtonEvents, LaterMovesOverTheButtonRaiseNothingAndTicksDrawNothing) {
  Enter();
  for (int x = 0; x < 5; ++x) input.MoveTo(kX + 20 + x, kY + 10);
  EXPECT_EQ(TakeLog(), (Log{"cmdExit.MouseOver", "cmdExit.MouseMove 0 0", "cmdExit.MouseMove 0 0"}));
  const std::size_t created = gdi.CreatedObjectCount();
  input.Advance(50);
  EXPECT_EQ(gdi.CreatedObjectCount(), created);
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(ButtonEvents, RightAndMiddleClicksPressNothingAndRaiseNoClick) {
  Enter();
  TakeLog();
  for (std::int16_t button : {vbRightButton, vbMiddleButton}) {
    input.Press(button);
    EXPECT_EQ(Look(b), "hover");
    input.Release(button);
    const std::string n = std::to_string(button);
    EXPECT_EQ(TakeLog(), (Log{"cmdExit.MouseDown " + n + " 0", "cmdExit.MouseUp " + n + " 0"}));
  }
  // Moves with the right button held are always reported.
  input.Press(vbRightButton);
  input.MoveTo(kX + 30, kY + 10);
  input.MoveTo(kX + 31, kY + 10);
  input.Release(vbRightButton);
  EXPECT_EQ(TakeLog(), (Log{"cmdExit.MouseDown 2 0", "cmdExit.MouseMove 2 0", "cmdExit.MouseMove 2 0",
                            "cmdExit.MouseUp 2 0"}));
}

TEST_F(ButtonEvents, AHandlerTurningTheButtonIntoALeftPressPressesTheFace) {
  b.MouseDown.Connect([](std::int16_t& button, std::int16_t&, float&, float&) { button = vbLeftButton; });
  Enter();
  input.Press(vbRightButton);
  EXPECT_EQ(b.pressButton(), 1);
  EXPECT_EQ(Look(b), "pressed");
}

TEST_F(ButtonEvents, DraggingOutAndBackWithTheLeftButtonHeld) {
  Enter();
  input.MoveTo(kX + 51, kY + 10);  // the second move marks the pointer as tracked
  input.Press();
  TakeLog();
  Leave();  // captured: the move still reaches the button, which drops the pressed look
  EXPECT_EQ(TakeLog(), Log{"cmdExit.MouseMove 1 0"});
  EXPECT_EQ(Look(b), "hover");
  input.Advance(1);
  EXPECT_EQ(TakeLog(), Log{"cmdExit.MouseOut"});
  EXPECT_EQ(Look(b), "focus");
  input.MoveTo(290, 140);
  EXPECT_TRUE(TakeLog().empty());
  Enter();  // back in: the pressed look once
  EXPECT_EQ(Look(b), "pressed");
  input.MoveTo(kX + 60, kY + 10);
  EXPECT_EQ(TakeLog(), Log{"cmdExit.MouseMove 1 0"});
  input.Release();
  EXPECT_EQ(TakeLog(), (Log{"cmdExit.MouseUp 1 0", "cmdExit.Click"}));
}

TEST_F(ButtonEvents, ReleasingOutsideRaisesNoClick) {
  Enter();
  input.Press();
  Leave();
  input.Release();
  const Log log = TakeLog();
  EXPECT_EQ(log.back(), "cmdExit.MouseUp 1 0");
}

TEST_F(ButtonEvents, DoubleClickPressesAgainWithCapture) {
  input.Click(kX + 50, kY + 10);
  TakeLog();
  input.Press();
  EXPECT_EQ(TakeLog(), Log{"cmdExit.MouseDown 1 0"});
  EXPECT_EQ(Look(b), "pressed");
  EXPECT_EQ(user.GetCapture(), b.hWnd());
  input.Release();
  EXPECT_EQ(TakeLog(), Log{"cmdExit.MouseUp 1 0"});
  EXPECT_EQ(Look(b), "hover");
}

TEST_F(ButtonEvents, TheReleaseCanArriveWhileThePressWaitsForMessages) {
  Enter();
  TakeLog();
  input.PostPress();
  input.PostRelease();
  host.Pump();
  // The press lets pending messages run before its pressed look: the release and the
  // click come first, and the press then ends with the pressed face.
  EXPECT_EQ(TakeLog(), (Log{"cmdExit.MouseDown 1 0", "cmdExit.MouseUp 1 0", "cmdExit.Click"}));
  EXPECT_EQ(Look(b), "pressed");
}

// ---- Keyboard and focus ----

TEST_F(ButtonEvents, SpaceOnTheFocusedButton) {
  host.SetFocus(&b);
  EXPECT_EQ(Look(b), "focus");
  input.KeyDown(32);
  EXPECT_EQ(Look(b), "pressed");
  input.KeyDown(32);  // auto-repeat
  input.Char(32);
  input.KeyUp(32);
  EXPECT_EQ(Look(b), "focus");
  EXPECT_EQ(TakeLog(), (Log{"cmdExit.KeyDown 32", "cmdExit.KeyDown 32", "cmdExit.KeyPress 32", "cmdExit.Click",
                            "cmdExit.KeyUp 32"}));
  input.Key(13);
  EXPECT_EQ(TakeLog(), (Log{"cmdExit.KeyDown 13", "cmdExit.KeyPress 13", "cmdExit.Click", "cmdExit.KeyUp 13"}));
}

TEST_F(ButtonEvents, MixedSpaceAndEnterRaiseNoClick) {
  host.SetFocus(&b);
  input.KeyDown(32);
  input.KeyUp(13);
  input.KeyDown(13);
  input.KeyUp(32);
  EXPECT_EQ(TakeLog(), (Log{"cmdExit.KeyDown 32", "cmdExit.KeyUp 13", "cmdExit.KeyDown 13", "cmdExit.KeyUp 32"}));
}

TEST_F(ButtonEvents, ArrowKeysMoveTheFocusAndNeverPress) {
  XPButton& other = Place(106, 22, u"Other", "cmdOther", 150);
  other.TabIndex = 1;
  Record(other);
  host.SetFocus(&b);
  input.KeyDown(39);  // Right: forward
  EXPECT_EQ(host.Focused(), &other);
  input.KeyUp(39);
  input.Key(38);  // Up: backward
  EXPECT_EQ(host.Focused(), &b);
  input.Key(37);  // Left: forward
  EXPECT_EQ(host.Focused(), &other);
  input.Key(40);  // Down: backward
  EXPECT_EQ(host.Focused(), &b);
  for (const std::string& e : TakeLog()) EXPECT_EQ(e.find("Click"), std::string::npos) << e;
  EXPECT_EQ(Look(b), "focus");
  EXPECT_EQ(Look(other), "normal");
}

TEST_F(ButtonEvents, AccessKeyClicksAndFocuses) {
  input.Key('E', vbAltMask);
  EXPECT_EQ(host.Focused(), &b);
  // The key's release still reaches the focused button; Alt+E types no character.
  EXPECT_EQ(TakeLog(), (Log{"cmdExit.Click", "cmdExit.KeyUp 69"}));
  EXPECT_EQ(Look(b), "focus");
}

TEST_F(ButtonEvents, DisabledButtonGetsNoInputAndKeepsItsFlags) {
  host.SetFocus(&b);
  b.SetEnabled(false);
  Enter();
  input.Click(kX + 50, kY + 10);
  input.Key(32);
  input.Key('E', vbAltMask);
  EXPECT_TRUE(TakeLog().empty());
  EXPECT_EQ(Look(b), "disabled");
  b.SetEnabled(true);
  EXPECT_EQ(Look(b), "focus");
}

TEST_F(ButtonEvents, ForeHoverShowsOnlyAtTheNextRepaint) {
  Enter();
  const Bitmap before = ComposeControl(b);
  b.SetForeHover(RGB(255, 0, 0));
  EXPECT_TRUE(ComposeControl(b).pixels() == before.pixels());
  b.SetCaption(b.Caption());
  EXPECT_FALSE(ComposeControl(b).pixels() == before.pixels());
}

// ---- Access keys ----

TEST_F(ButtonTest, AccessKeyComesFromTheFirstTwoAmpersands) {
  XPButton& b = Place(106, 22);
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"&Exit", u"e"}, {u"Save && E&xit", u"x"}, {u"&&", u""}, {u"A&&B", u""}, {u"A&", u""},
      {u"&", u""},      {u"A&&B&&C&D", u""},     {u"E&XIT", u"x"}, {u"&&&x", u"x"}, {u"", u""}};
  for (const auto& [caption, key] : cases) {
    b.SetCaption(caption);
    EXPECT_EQ(b.AccessKeys(), key) << std::string(caption.begin(), caption.end());
  }
}

// ---- Properties and storage ----

TEST_F(ButtonTest, NewInstanceDefaults) {
  XPButton& b = form.Add<XPButton>("XPButton1", {0, 0, 1590, 330});
  EXPECT_EQ(b.Caption(), u"Command1");
  EXPECT_TRUE(b.Enabled());
  EXPECT_EQ(b.ForeHover(), 0u);
  EXPECT_EQ(b.ForeColor(), 0x80000006u);
  EXPECT_EQ(b.Font(), form.Font);
  EXPECT_EQ(b.AccessKeys(), u"");
  EXPECT_FALSE(b.hoverTimer().Enabled());
  EXPECT_EQ(b.hoverTimer().Interval(), 1);
}

TEST_F(ButtonTest, PropertyWritesNotifyInOrder) {
  XPButton& b = Place(106, 22);
  std::vector<std::string> names;
  host.PropertyChanged.Connect([&](UserControl*& c, std::string_view& name) {
    EXPECT_EQ(c, &b);
    names.emplace_back(name);
  });
  b.SetEnabled(false);
  b.SetCaption(u"&Go");
  b.SetForeColor(RGB(1, 2, 3));
  b.SetForeHover(RGB(4, 5, 6));
  b.SetFont(MakeFont({u"Tahoma", 10, 400, false, false, false, 0}));
  EXPECT_EQ(names, (std::vector<std::string>{"Enabled", "Caption", "ForeColor", "ForeHover", "Font"}));
  EXPECT_FALSE(b.HostEnabled());
  EXPECT_EQ(b.AccessKeys(), u"g");
}

TEST_F(ButtonTest, SaveWritesForeColorAlwaysAndDropsDefaults) {
  XPButton& b = form.Add<XPButton>("XPButton1", {0, 0, 1590, 330});
  PropertyBag bag;
  b.OnWriteProperties(bag);
  ASSERT_EQ(bag.entries().size(), 3u);
  EXPECT_EQ(bag.entries()[0].first, "Caption");
  EXPECT_EQ(bag.ReadColor("ForeColor", 1), 0x80000006u);
  EXPECT_EQ(bag.ReadColor("ForeHover", 1), 0u);
}

TEST_F(ButtonTest, SaveAndLoadRoundTrip) {
  XPButton& b = Place(106, 22, u"Save && E&xit");
  b.SetEnabled(false);
  b.SetForeHover(RGB(200, 10, 10));
  b.SetFont(MakeFont({u"Tahoma", 8.25, 400, false, false, false, 178}));
  PropertyBag bag;
  b.OnWriteProperties(bag);
  XPButton& copy = form.Add<XPButton>("copy", {0, 0, 1590, 330}, &bag);
  EXPECT_EQ(copy.Caption(), u"Save && E&xit");
  EXPECT_EQ(copy.AccessKeys(), u"x");
  EXPECT_FALSE(copy.Enabled());
  EXPECT_FALSE(copy.HostEnabled());
  EXPECT_EQ(copy.ForeColor(), 0x80000006u);
  EXPECT_EQ(copy.ForeHover(), RGB(200, 10, 10));
  EXPECT_EQ(copy.Font()->desc(), b.Font()->desc());
  PropertyBag again;
  copy.OnWriteProperties(again);
  // The display names differ, so only the caption's default could tell them apart.
  EXPECT_EQ(again, bag);
}

TEST_F(ButtonTest, ForeHoverEqualToTheContainersColourComesBackAsForeColor) {
  XPButton& b = Place(106, 22, u"x");
  b.SetForeHover(form.ForeColor);
  PropertyBag bag;
  b.OnWriteProperties(bag);
  EXPECT_FALSE(bag.Has("ForeHover"));
  XPButton& copy = form.Add<XPButton>("copy", {0, 0, 1590, 330}, &bag);
  EXPECT_EQ(copy.ForeHover(), 0x80000006u);
}

TEST_F(ButtonTest, WrongStoredTypeIsATypeMismatchNamingTheKey) {
  PropertyBag bag;
  bag.WriteProperty("ForeColor", std::u16string(u"blue"));
  try {
    form.Add<XPButton>("bad", {0, 0, 1590, 330}, &bag);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::TypeMismatch);
    EXPECT_NE(std::string(e.what()).find("ForeColor"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace xpkit::test

// The control host: property sets, lifecycle, docking, input routing, focus, timers,
// pending messages, message boxes and the end of the program.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "xpkit/Error.h"
#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/backends/headless/HeadlessDriver.h"
#include "xpkit/host/Compositor.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/UserControl.h"
#include "xpkit/platform/Gdi.h"
#include "xpkit/platform/User.h"

namespace xpkit {
namespace {

// A control that writes down every notification it gets.
class Probe : public UserControl {
 public:
  std::vector<std::string>* log = nullptr;
  std::function<void()> onMouseDown;
  void Note(const std::string& s) {
    if (log) log->push_back(Name() + "." + s);
  }
  void OnInitialize() override { Note("Initialize"); }
  void OnInitProperties() override { Note("InitProperties"); }
  void OnReadProperties(const PropertyBag&) override { Note("ReadProperties"); }
  void OnResize() override { Note("Resize"); }
  void OnShow() override { Note("Show"); }
  void OnGotFocus() override { Note("GotFocus"); }
  void OnLostFocus() override { Note("LostFocus"); }
  void OnMouseDown(std::int16_t b, std::int16_t, float x, float y) override {
    Note("MouseDown " + std::to_string(b) + " " + std::to_string(static_cast<int>(x)) + "," +
         std::to_string(static_cast<int>(y)));
    if (onMouseDown) onMouseDown();
  }
  void OnMouseMove(std::int16_t b, std::int16_t, float, float) override { Note("MouseMove " + std::to_string(b)); }
  void OnMouseUp(std::int16_t b, std::int16_t, float, float) override { Note("MouseUp " + std::to_string(b)); }
  void OnClick() override { Note("Click"); }
  void OnDblClick() override { Note("DblClick"); }
  void OnKeyDown(std::int16_t k, std::int16_t) override { Note("KeyDown " + std::to_string(k)); }
  void OnKeyUp(std::int16_t k, std::int16_t) override { Note("KeyUp " + std::to_string(k)); }
  void OnKeyPress(std::int16_t k) override { Note("KeyPress " + std::to_string(k)); }
  void OnAccessKeyPress(std::int16_t k) override { Note("AccessKey " + std::to_string(k)); }
};

class HostTest : public ::testing::Test {
 protected:
  HostTest() : form(host, "frm", 200, 100), input(host, form) {
    backend.echoToStderr = false;
    form.Show();
  }
  Probe& AddProbe(const std::string& name, double l, double t, double w, double h) {
    auto& p = form.Add<Probe>(name, {Px(l), Px(t), Px(w), Px(h)});
    p.log = &log;
    return p;
  }
  HeadlessBackend backend;
  Host host{backend};
  Gdi& gdi = host.session().gdi();
  User& user = host.session().user();
  Form form;
  HeadlessDriver input;
  std::vector<std::string> log;
};

TEST(PropertyBag, KeysIgnoreCaseAndDefaultsAreNotStored) {
  PropertyBag bag;
  bag.WriteProperty("Caption", std::u16string(u"x"), std::u16string(u"Header"));
  EXPECT_EQ(bag.ReadText("CAPTION", u"d"), u"x");
  bag.WriteProperty("caption", std::u16string(u"Header"), std::u16string(u"Header"));
  EXPECT_FALSE(bag.Has("Caption"));
  EXPECT_EQ(bag.ReadText("Caption", u"Header"), u"Header");
  bag.WriteProperty("ForeColor", ColorValue{0x80000006});
  EXPECT_EQ(bag.ReadColor("forecolor", 0), 0x80000006u);
  bag.WriteProperty("Enabled", true);
  EXPECT_EQ(bag.ReadBool("enabled", VbFalse), VbTrue);
  EXPECT_THROW(bag.ReadText("Enabled", u""), Error);
  try {
    bag.ReadFont("ForeColor", nullptr);
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::TypeMismatch);
    EXPECT_NE(std::string(e.what()).find("ForeColor"), std::string::npos);
  }
}

TEST(PropertyBag, FontsComeBackAsNewObjectsAndDefaultsAsTheSameObject) {
  PropertyBag bag;
  const FontRef ambient = MakeFont(FontDesc{});
  bag.WriteFont("Font", MakeFont(FontDesc{}), ambient);
  EXPECT_FALSE(bag.Has("Font"));  // equal to the default by value
  EXPECT_EQ(bag.ReadFont("Font", ambient), ambient);
  const FontRef tahoma = MakeFont(FontDesc{u"Tahoma", 8.25, 400, false, false, false, 178});
  bag.WriteFont("Font", tahoma, ambient);
  const FontRef back = bag.ReadFont("font", ambient);
  EXPECT_NE(back, tahoma);
  EXPECT_EQ(back->desc(), tahoma->desc());
}

TEST_F(HostTest, LifecycleOrderAndDocking) {
  auto& top = form.Add<Probe>("Top", {0, 0, 1000, 300, Dock::Top});
  top.log = &log;
  auto& bottom = form.Add<Probe>("Bottom", {0, 0, 1000, 450, Dock::Bottom});
  bottom.log = &log;
  EXPECT_EQ(top.placement().width, 3000);   // the full client width, in twips
  EXPECT_EQ(bottom.placement().top, 1050);  // 100 px - 30 px
  RECT r{};
  user.GetWindowRect(bottom.hWnd(), &r);
  EXPECT_EQ(r.bottom - r.top, 30);
  log.clear();
  for (const auto& c : form.controls()) c->OnShow();
  EXPECT_EQ(log, (std::vector<std::string>{"Top.Show", "Bottom.Show"}));
  log.clear();
  // Creation, load and the first resize, seen by a probe that logs from its constructor
  // on; with nothing stored, no set or an empty one, the new-instance defaults instead.
  PropertyBag bag;
  struct Early : Probe {
    Early() { log = &own; }
    std::vector<std::string> own;
  };
  auto& n = form.Add<Early>("N", {0, 0, 150, 150});
  EXPECT_EQ(n.own, (std::vector<std::string>{"N.Initialize", "N.InitProperties", "N.Resize"}));
  auto& empty = form.Add<Early>("Empty", {0, 0, 150, 150}, &bag);
  EXPECT_EQ(empty.own, (std::vector<std::string>{"Empty.Initialize", "Empty.InitProperties", "Empty.Resize"}));
  bag.WriteProperty("Caption", std::u16string(u"x"));
  auto& e = form.Add<Early>("E", {0, 0, 150, 150}, &bag);
  EXPECT_EQ(e.own, (std::vector<std::string>{"E.Initialize", "E.ReadProperties", "E.Resize"}));
}

// A placement out of range names the control, the field, the range in the container's
// unit and the value; the control is not kept. The ends of each range are accepted.
TEST_F(HostTest, PlacementsAreHeldToTheirRanges) {
  auto refusal = [&](Container& c, const Placement& p) -> std::string {
    const std::size_t before = c.controls().size();
    try {
      c.Add<Probe>("P", p);
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::InvalidProcedureCall);
      EXPECT_EQ(c.controls().size(), before);
      return e.what();
    }
    return "accepted";
  };
  const std::string prefix = "Invalid procedure call or argument: control 'P': its ";
  EXPECT_EQ(refusal(form, {0, 0, 1e12, 330}),
            prefix + "width must be a number of twips from 0 to 245760 (0 to 16384 pixels), not 1e+12");
  EXPECT_EQ(refusal(form, {-245775, 0, 15, 15}),
            prefix + "left must be a number of twips from -245760 to 245760 (-16384 to 16384 pixels), not -245775");
  EXPECT_EQ(refusal(form, {0, 0, 15, std::nan("")}),
            prefix + "height must be a number of twips from 0 to 245760 (0 to 16384 pixels), not nan");
  EXPECT_EQ(refusal(form, {0, 0, -15, 15}),
            prefix + "width must be a number of twips from 0 to 245760 (0 to 16384 pixels), not -15");
  EXPECT_EQ(refusal(form, {-245760, 245760, 0, 15}), "accepted");
  Probe& inPixels = AddProbe("Px", 0, 0, 10, 10);
  inPixels.surface().SetScaleMode(vbPixels);
  EXPECT_EQ(refusal(inPixels, {0, 16385, 1, 1}),
            prefix + "top must be a number of pixels from -16384 to 16384 (its container places its controls in "
                     "pixels), not 16385");
  EXPECT_EQ(refusal(inPixels, {0, 0, 16384, 1}), "accepted");
}

TEST_F(HostTest, ClickNeedsPressAndReleaseOnTheControl) {
  auto& a = AddProbe("A", 10, 10, 50, 20);
  (void)a;
  input.Click(20, 15);
  EXPECT_EQ(log, (std::vector<std::string>{"A.MouseMove 0", "A.GotFocus", "A.MouseDown 1 150,75", "A.MouseUp 1",
                                           "A.Click"}));
  input.Advance(kDoubleClickMs + 1);
  input.MoveTo(20, 15);
  log.clear();
  input.Press();
  input.MoveTo(150, 80);  // dragged out: the capture still delivers the move
  input.Release();
  EXPECT_EQ(log, (std::vector<std::string>{"A.MouseDown 1 150,75", "A.MouseMove 1", "A.MouseUp 1"}));
}

TEST_F(HostTest, SecondQuickPressIsADoubleClick) {
  AddProbe("A", 10, 10, 50, 20);
  input.Click(20, 15);
  log.clear();
  input.Advance(100);
  input.Press();
  input.Release();
  EXPECT_EQ(log, (std::vector<std::string>{"A.DblClick", "A.MouseUp 1"}));
  log.clear();
  input.Advance(kDoubleClickMs + 1);
  input.Press();
  input.Release();
  EXPECT_EQ(log, (std::vector<std::string>{"A.MouseDown 1 150,75", "A.MouseUp 1", "A.Click"}));
}

TEST_F(HostTest, DisabledControlGetsNoInput) {
  auto& a = AddProbe("A", 10, 10, 50, 20);
  a.SetHostEnabled(false);
  input.Click(20, 15);
  host.SetFocus(&a);
  log.clear();
  input.Key('X');
  EXPECT_TRUE(log.empty());
}

TEST_F(HostTest, TabOrderAccessKeysAndSendKeys) {
  auto& a = AddProbe("A", 0, 0, 10, 10);
  auto& b = AddProbe("B", 20, 0, 10, 10);
  b.SetAccessKeys(u"x");
  host.SetFocus(&a);
  log.clear();
  host.SendKeys(u"{Tab}");
  host.Pump();
  EXPECT_EQ(host.Focused(), &b);
  host.SendKeys(u"+{Tab}");
  host.Pump();
  EXPECT_EQ(host.Focused(), &a);
  log.clear();
  input.KeyDown('X', vbAltMask);
  EXPECT_EQ(host.Focused(), &b);
  EXPECT_EQ(log, (std::vector<std::string>{"A.LostFocus", "B.GotFocus", "B.AccessKey 120"}));
  EXPECT_THROW(host.SendKeys(u"{Nope}"), Error);
}

// Tab walks the controls that may take the focus by TabIndex, the placing order where
// it ties, and wraps; from no focus, Tab goes to the first and Shift+Tab to the last.
TEST_F(HostTest, TabOrderFromNoFocusAndAroundTheEnds) {
  const auto tab = [&](const char16_t* keys) {
    host.SendKeys(keys);
    host.Pump();
    return host.Focused();
  };
  EXPECT_EQ(tab(u"{Tab}"), nullptr);  // nothing to go to
  EXPECT_EQ(tab(u"+{Tab}"), nullptr);
  auto& a = AddProbe("A", 0, 0, 10, 10);
  auto& b = AddProbe("B", 20, 0, 10, 10);
  auto& c = AddProbe("C", 40, 0, 10, 10);
  auto& d = AddProbe("D", 60, 0, 10, 10);
  auto& e = AddProbe("E", 80, 0, 10, 10);
  auto& f = AddProbe("F", 100, 0, 10, 10);
  a.TabIndex = 2;
  d.TabStop = false;
  e.SetVisible(false);
  f.SetHostEnabled(false);
  std::vector<UserControl*> forward;
  for (int i = 0; i < 4; ++i) forward.push_back(tab(u"{Tab}"));
  EXPECT_EQ(forward, (std::vector<UserControl*>{&b, &c, &a, &b}));
  EXPECT_EQ(tab(u"+{Tab}"), &a);
  EXPECT_EQ(tab(u"+{Tab}"), &c);
  host.SetFocus(nullptr);
  EXPECT_EQ(tab(u"+{Tab}"), &a);
  host.SetFocus(&d);  // a control out of the order counts as no focus
  EXPECT_EQ(tab(u"{Tab}"), &b);
}

// While a modal dialog is open its owner form is disabled: none of the owner's controls
// takes the pointer, keys, access keys or a place in the tab order; the dialog's do.
TEST_F(HostTest, ADisabledFormsControlsTakeNoInput) {
  auto& a = AddProbe("A", 0, 0, 50, 20);
  a.SetAccessKeys(u"x");
  Form dialog(host, "dlg", 100, 50);
  dialog.Show();
  auto& d = dialog.Add<Probe>("D", {0, 0, Px(30), Px(20)});
  d.log = &log;
  HeadlessDriver onDialog(host, dialog);
  host.session().user().EnableWindow(form.hWnd(), FALSE);
  host.SetFocus(&a);
  log.clear();
  input.Click(10, 10);
  input.Key('Q');
  input.KeyDown('X', vbAltMask);
  EXPECT_TRUE(log.empty());
  host.SendKeys(u"{Tab}");
  host.Pump();
  EXPECT_EQ(host.Focused(), &d);  // Tab leaves the disabled form for the dialog
  for (const char16_t* keys : {u"{Tab}", u"+{Tab}"}) {
    host.SendKeys(keys);
    host.Pump();
    EXPECT_EQ(host.Focused(), &d);  // and never goes back while the dialog is open
  }
  log.clear();
  onDialog.Click(5, 5);
  EXPECT_EQ(log, (std::vector<std::string>{"D.MouseMove 0", "D.MouseDown 1 75,75", "D.MouseUp 1", "D.Click"}));
  host.session().user().EnableWindow(form.hWnd(), TRUE);
  log.clear();
  input.Click(10, 10);
  EXPECT_EQ(log, (std::vector<std::string>{"A.MouseMove 0", "D.LostFocus", "A.GotFocus", "A.MouseDown 1 150,150",
                                           "A.MouseUp 1", "A.Click"}));
}

TEST_F(HostTest, PendingMessagesRunInsideAHandler) {
  auto& a = AddProbe("A", 10, 10, 50, 20);
  a.onMouseDown = [&] { host.DoEvents(); };
  input.MoveTo(20, 15);
  host.SetFocus(&a);
  log.clear();
  input.PostPress();
  input.PostRelease();
  host.Pump();
  // The release ran inside the press handler.
  EXPECT_EQ(log, (std::vector<std::string>{"A.MouseDown 1 150,75", "A.MouseUp 1", "A.Click"}));
}

TEST_F(HostTest, TimersTickOnTheClockAndEndStopsEverything) {
  auto& a = AddProbe("A", 0, 0, 10, 10);
  Timer& t = a.AddTimer();
  int ticks = 0;
  t.SetTickHandler([&] {
    if (++ticks == 5) host.End();
  });
  t.SetInterval(1);
  host.AdvanceClock(3);
  EXPECT_EQ(ticks, 0);  // disabled
  t.SetEnabled(true);
  host.AdvanceClock(3);
  EXPECT_EQ(ticks, 3);
  host.AdvanceClock(100);
  EXPECT_EQ(ticks, 5);
  EXPECT_TRUE(host.Ended());
  EXPECT_TRUE(backend.ended);
  log.clear();
  input.Click(5, 5);
  EXPECT_TRUE(log.empty());
}

TEST_F(HostTest, MessageBoxUsesTheAppTitle) {
  host.MsgBox(u"Overflow");
  host.MsgBox(u"Overflow", u"GradientRect");
  ASSERT_EQ(backend.messageBoxes.size(), 2u);
  EXPECT_EQ(backend.messageBoxes[0].caption, u"xpkit");
  EXPECT_EQ(backend.messageBoxes[1].caption, u"GradientRect");
}

TEST(Compositor, EnlargingMakesEveryPixelAScaleByScaleBlock) {
  Bitmap img(2, 2);
  img.Set(0, 0, 0xFF000001u);
  img.Set(1, 0, 0xFF000002u);
  img.Set(0, 1, 0xFF000003u);
  img.Set(1, 1, 0x00000004u);  // alpha is kept
  EXPECT_EQ(Enlarged(img, 1), img);
  const Bitmap big = Enlarged(img, 3);
  ASSERT_EQ(big.width(), 6);
  ASSERT_EQ(big.height(), 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(big.At(x, y), img.At(x / 3, y / 3)) << x << "," << y;
  // A row at a time, in any order, the same rows.
  for (int scale : {1, 3}) {
    const PictureRows rows = EnlargedRows(img, scale);
    const Bitmap whole = Enlarged(img, scale);
    ASSERT_EQ(rows.width, whole.width());
    ASSERT_EQ(rows.height, whole.height());
    for (int y : {5, 0, 4, 2, 3, 1}) {
      if (y >= rows.height) continue;
      const std::uint32_t* row = rows.row(y);
      EXPECT_EQ(std::vector<std::uint32_t>(row, row + rows.width),
                std::vector<std::uint32_t>(whole.Row(y), whole.Row(y) + whole.width()))
          << "row " << y << " at scale " << scale;
    }
  }
}

TEST_F(HostTest, CompositionOrdersSurfacesLinesAndChildren) {
  form.BackColor = 0x00AD9177;
  auto& a = AddProbe("A", 10, 10, 40, 20);
  a.surface().SetBackColor(RGB(255, 0, 0));
  LineShape& across = a.AddLine("l");
  across.X1 = 0;
  across.Y1 = 15;
  across.X2 = 40 * 15;
  across.Y2 = 15;
  across.BorderColor = RGB(0, 255, 0);
  LineShape& formLine = form.AddLine("Line1");
  formLine.X1 = 0;
  formLine.Y1 = 90 * 15;
  formLine.X2 = 5100;
  formLine.Y2 = 90 * 15;
  formLine.BorderColor = 0x00FFFFFF;
  const HRGN shape = gdi.CreateRectRgn(1, 0, 40, 20);
  user.SetWindowRgn(a.hWnd(), shape, FALSE);
  const Bitmap img = ComposeForm(form);
  EXPECT_EQ(img.ColorAt(0, 0), RGB(119, 145, 173));
  EXPECT_EQ(img.ColorAt(12, 12), RGB(255, 0, 0));
  EXPECT_EQ(img.ColorAt(12, 11), RGB(0, 255, 0));   // the control's line, above its surface
  EXPECT_EQ(img.ColorAt(10, 15), RGB(119, 145, 173));  // outside the window region
  EXPECT_EQ(img.ColorAt(199, 90), RGB(255, 255, 255));  // the form's line, clipped at the edge
}

// A hidden control is left out with everything inside it, and a child is cut at its
// parent's edges.
TEST_F(HostTest, CompositionLeavesOutHiddenControlsAndCutsChildrenAtTheirParent) {
  form.BackColor = 0x00AD9177;
  const COLORREF back = RGB(119, 145, 173), red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
  auto& hidden = AddProbe("H", 0, 0, 20, 20);
  hidden.surface().SetBackColor(red);
  hidden.Add<Probe>("I", {0, 0, 150, 150}).surface().SetBackColor(blue);
  hidden.SetVisible(false);
  auto& parent = AddProbe("P", 50, 50, 20, 20);
  parent.surface().SetBackColor(red);
  parent.Add<Probe>("W", {150, 150, 40 * 15.0, 10 * 15.0}).surface().SetBackColor(blue);  // 10 to 50 in a parent 20 wide
  const Bitmap img = ComposeForm(form);
  EXPECT_EQ(img.ColorAt(5, 5), back);
  EXPECT_EQ(img.ColorAt(15, 15), back);
  EXPECT_EQ(img.ColorAt(59, 60), red);
  EXPECT_EQ(img.ColorAt(60, 60), blue);
  EXPECT_EQ(img.ColorAt(69, 69), blue);
  EXPECT_EQ(img.ColorAt(70, 60), back);
  EXPECT_EQ(img.ColorAt(60, 70), back);
}

// A form and a control are at most 16384 pixels a side, whatever unit places them.
TEST_F(HostTest, WindowsAreAtMost16384PixelsASide) {
  EXPECT_EQ(Form(host, "largest", 16384, 16384).ClientHeightPx(), 16384);
  for (const auto& [w, h] : {std::pair{16385, 1}, std::pair{1, 16385}}) {
    try {
      Form f(host, "big", w, h);
      ADD_FAILURE() << "a form of " << w << " x " << h << " was made";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::InvalidProcedureCall);
      EXPECT_EQ(std::string(e.what()), "Invalid procedure call or argument: form 'big' would be " + std::to_string(w) +
                                           " x " + std::to_string(h) + " pixels; a form is at most 16384 pixels either way");
    }
  }
  RECT r{};
  Probe& e = form.Add<Probe>("E", {0, 0, 16384 * 15.0, 15});
  user.GetClientRect(e.hWnd(), &r);
  EXPECT_EQ(r.right, 16384);
  // Placing one larger is refused with its placement (PlacementsAreHeldToTheirRanges);
  // moving one larger, as here, changes nothing.
  try {
    e.Move(0, 0, 15, 16385 * 15.0);
    ADD_FAILURE() << "a control 16385 pixels high was made";
  } catch (const Error& err) {
    EXPECT_STREQ(err.what(),
                 "Invalid procedure call or argument: control 'E' would be 1 x 16385 pixels; a control is at most "
                 "16384 pixels either way");
  }
  user.GetClientRect(e.hWnd(), &r);
  EXPECT_EQ(r.right, 16384);
  EXPECT_EQ(e.placement().height, 15);
}

}  // namespace
}  // namespace xpkit

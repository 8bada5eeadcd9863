// What assistive technology is told: names from captions, key bindings from access keys,
// the program's window as a tree at two scales, states as focus, hover and disabling
// change them, the click action, a control's own role and name, the message box, and
// the notices an observer of the host hears.
#include "xpkit/host/Accessible.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/backends/headless/HeadlessDriver.h"
#include "xpkit/controls/button/XPButton.h"
#include "xpkit/controls/header/XPHeader.h"
#include "xpkit/controls/msgbox/frmMsgBox.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/Host.h"
#include "xpkit/shell/frmMain.h"

namespace xpkit {
namespace {

class AccessibleTest : public ::testing::Test {
 protected:
  AccessibleTest() { backend.echoToStderr = false; }
  HeadlessBackend backend;
  Host host{backend};
};

XPButton& AddButton(Form& form, const char* name, const std::u16string& caption, int leftPx) {
  PropertyBag bag;
  bag.WriteProperty("Caption", caption);
  const double px = kTwipsPerPixel;
  return form.Add<XPButton>(name, {leftPx * px, px, 75 * px, 23 * px}, &bag);
}

TEST(AccessibleNames, CaptionsLoseTheirAccessMarksAndKeepDoubledAmpersands) {
  EXPECT_EQ(WithoutAccessMark(u"&OK"), u"OK");
  EXPECT_EQ(WithoutAccessMark(u"E&xit"), u"Exit");
  EXPECT_EQ(WithoutAccessMark(u"&&Save"), u"&Save");
  EXPECT_EQ(WithoutAccessMark(u"Fish && &Chips"), u"Fish & Chips");
  EXPECT_EQ(WithoutAccessMark(u"end&"), u"end&");
  EXPECT_EQ(WithoutAccessMark(u"خروج"), u"خروج");
  EXPECT_EQ(AccessKeyBinding(u"o"), u"Alt+O");
  EXPECT_EQ(AccessKeyBinding(u"7"), u"Alt+7");
  EXPECT_EQ(AccessKeyBinding(u""), u"");
}

TEST_F(AccessibleTest, AButtonIsAPushButtonWithItsAccessKeyAndAClickAction) {
  Form form(host, "frmTest", 200, 60);
  const Accessible ok = AddButton(form, "cmdOK", u"&OK", 10).Accessibility();
  EXPECT_EQ(ok.role, AccessibleRole::PushButton);
  EXPECT_EQ(ok.name, u"OK");
  EXPECT_EQ(ok.keyBinding, u"Alt+O");
  EXPECT_EQ(ok.actions, std::vector<std::string>{"click"});
  // "&&" is a literal ampersand and marks no key; the key is the one after the next "&".
  const Accessible both = AddButton(form, "cmdBoth", u"Salt && &Pepper", 100).Accessibility();
  EXPECT_EQ(both.name, u"Salt & Pepper");
  EXPECT_EQ(both.keyBinding, u"Alt+P");
  EXPECT_EQ(AddButton(form, "cmdLit", u"&&Save", 100).Accessibility().keyBinding, u"");
}

TEST_F(AccessibleTest, TheProgramsWindowAsATreeAtScaleOneAndTwo) {
  frmMain form(host, DefaultLayout());
  form.Show();
  form.Header->SetCaption(u"Welcome");
  form.Header->SetDescription(u"A window of one's own");
  // The footer docks to the bottom 28 of 154 pixels, and the button lies at 105,3 in it;
  // the separator line is not there.
  EXPECT_EQ(AccessibleTree(form, {{100, 50}, 1}),
            "frame \"xpkit\" [enabled sensitive showing visible] 100,50 331x154\n"
            "  panel \"\" [enabled sensitive showing visible] 100,176 331x28\n"
            "    push button \"خروج\" [enabled sensitive focusable showing visible] 205,179 106x22 (click)\n"
            "  panel \"Welcome\" \"A window of one's own\" [enabled sensitive showing visible] 100,50 331x40\n");
  EXPECT_EQ(AccessibleTree(form, {{10, 20}, 2}, true),
            "frame \"xpkit\" [enabled sensitive showing visible active] 10,20 662x308\n"
            "  panel \"\" [enabled sensitive showing visible] 10,272 662x56\n"
            "    push button \"خروج\" [enabled sensitive focusable showing visible] 220,278 212x44 (click)\n"
            "  panel \"Welcome\" \"A window of one's own\" [enabled sensitive showing visible] 10,20 662x80\n");
  EXPECT_EQ(form.Header->Accessibility().text, u"Welcome\nA window of one's own");
}

TEST_F(AccessibleTest, StatesFollowFocusAndDisablingButNotHover) {
  Form form(host, "frmTest", 200, 60);
  XPButton& a = AddButton(form, "cmdA", u"&A", 10);
  XPButton& b = AddButton(form, "cmdB", u"&B", 100);
  const std::uint32_t idle = kStateEnabled | kStateSensitive | kStateFocusable | kStateVisible;
  EXPECT_EQ(StatesOf(a), idle);  // not showing before its form is
  form.Show();
  const std::uint32_t shown = idle | kStateShowing;
  EXPECT_EQ(StatesOf(a), shown);

  HeadlessDriver input(host, form);
  input.MoveTo(40, 10);  // over a: the hover look, no state of its own
  EXPECT_EQ(StatesOf(a), shown);
  input.Key(vbKeyTab);
  EXPECT_EQ(StatesOf(a), shown | kStateFocused);
  input.Key(vbKeyTab);
  EXPECT_EQ(StatesOf(a), shown);
  EXPECT_EQ(StatesOf(b), shown | kStateFocused);

  b.SetEnabled(false);
  EXPECT_EQ(StatesOf(b) & (kStateEnabled | kStateSensitive), 0u);
  b.SetVisible(false);
  EXPECT_EQ(StatesOf(b) & (kStateShowing | kStateVisible), 0u);
}

TEST_F(AccessibleTest, TheClickActionClicksAsTheMouseDoesAndNothingWhenDisabled) {
  Form form(host, "frmTest", 200, 60);
  XPButton& ok = AddButton(form, "cmdOK", u"&OK", 10);
  XPHeader& banner = form.Add<XPHeader>("Banner", {0, 0, 3000, 600});
  form.Show();
  int clicks = 0;
  ok.Click.Connect([&] { ++clicks; });
  host.DoAccessibleAction(ok, 0);
  EXPECT_EQ(clicks, 1);
  host.DoAccessibleAction(ok, 1);  // it has no second action
  EXPECT_EQ(clicks, 1);
  ok.SetEnabled(false);
  host.DoAccessibleAction(ok, 0);
  EXPECT_EQ(clicks, 1);
  ok.SetEnabled(true);
  // Under a modal dialog the form takes no input, and no action either.
  host.session().user().EnableWindow(form.hWnd(), FALSE);
  host.DoAccessibleAction(ok, 0);
  EXPECT_EQ(clicks, 1);
  host.session().user().EnableWindow(form.hWnd(), TRUE);
  host.DoAccessibleAction(ok, 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(banner.Accessibility().actions.empty());
}

class Gauge : public UserControl {};

class Dial : public UserControl {
 public:
  Accessible Describe() const override {
    Accessible a;
    a.role = AccessibleRole::Label;
    a.name = u"dial";
    return a;
  }
};

TEST_F(AccessibleTest, AControlOfOnesOwnIsAPanelUntilToldOtherwise) {
  Form form(host, "frmTest", 200, 60);
  Gauge& gauge = form.Add<Gauge>("Gauge", {0, 0, 300, 300});
  Dial& dial = form.Add<Dial>("Dial", {300, 0, 300, 300});
  EXPECT_EQ(gauge.Accessibility().role, AccessibleRole::Panel);
  EXPECT_EQ(gauge.Accessibility().name, u"");

  std::vector<std::string> changes;
  host.PropertyChanged.Connect([&](UserControl*&, std::string_view& p) { changes.emplace_back(p); });
  gauge.SetAccessibleRole(AccessibleRole::Separator);
  gauge.SetAccessibleName(u"Fuel");
  gauge.SetAccessibleDescription(u"litres left");
  EXPECT_EQ(changes, (std::vector<std::string>{"AccessibleRole", "AccessibleName", "AccessibleDescription"}));
  const Accessible a = gauge.Accessibility();
  EXPECT_EQ(a.role, AccessibleRole::Separator);
  EXPECT_EQ(a.name, u"Fuel");
  EXPECT_EQ(a.description, u"litres left");
  // What is set wins over what the control says, and only that.
  dial.SetAccessibleName(u"Speed");
  EXPECT_EQ(dial.Accessibility().role, AccessibleRole::Label);
  EXPECT_EQ(dial.Accessibility().name, u"Speed");
}

TEST_F(AccessibleTest, TheMessageBoxIsAModalAlertWithItsTextAndAFocusedOK) {
  frmMsgBox box(host, u"Disk full", u"Warning");
  box.Show();
  const std::string tree = AccessibleTree(box, {{0, 0}, 1}, true);
  EXPECT_EQ(tree.substr(0, tree.find(" [")), "alert \"Warning\" \"Disk full\"");
  EXPECT_NE(tree.find("[enabled sensitive showing visible active modal]"), std::string::npos) << tree;
  EXPECT_NE(tree.find("\n  label \"Disk full\" [enabled sensitive showing visible]"), std::string::npos) << tree;
  EXPECT_NE(tree.find("\n  push button \"OK\" [enabled sensitive focusable focused showing visible]"),
            std::string::npos)
      << tree;
}

struct Recorder : HostObserver {
  std::vector<std::string> heard;
  void FormShown(Form& f) override { heard.push_back("shown " + f.Name()); }
  void FormForgotten(Form& f) override { heard.push_back("forgotten " + f.Name()); }
  void FormActivated(Form& f, bool active) override { heard.push_back((active ? "active " : "inactive ") + f.Name()); }
  void ControlAdded(UserControl& c) override { heard.push_back("added " + c.Name()); }
  void ControlForgotten(UserControl& c) override { heard.push_back("destroyed " + c.Name()); }
  void FocusChanged(UserControl* from, UserControl* to) override {
    heard.push_back("focus " + (from ? from->Name() : "-") + " > " + (to ? to->Name() : "-"));
  }
  void PropertyChanged(UserControl& c, std::string_view p) override {
    heard.push_back("changed " + c.Name() + "." + std::string(p));
  }
};

TEST_F(AccessibleTest, AnObserverHearsWhatAScreenReaderIsToldInOrder) {
  Recorder r;
  host.AddObserver(r);
  {
    Form form(host, "frmTest", 200, 60);
    XPButton& a = AddButton(form, "cmdA", u"&A", 10);
    form.Show();
    host.SetActiveForm(&form);
    host.SetFocus(&a);
    host.SetFocus(&a);  // no move, no word
    a.SetCaption(u"&Again");
    {
      frmMsgBox box(host, u"text", u"caption");
      box.Show();
      host.SetActiveForm(&box);
    }
  }
  host.RemoveObserver(r);
  EXPECT_EQ(r.heard, (std::vector<std::string>{
                         "added cmdA", "shown frmTest", "active frmTest", "focus - > cmdA", "changed cmdA.Caption",
                         "added Body", "added cmdOK", "focus cmdA > cmdOK", "shown frmMsgBox",
                         "inactive frmTest", "active frmMsgBox",
                         // The box gives the focus back, then goes; then the window.
                         "focus cmdOK > cmdA", "forgotten frmMsgBox", "destroyed cmdOK", "destroyed Body",
                         "forgotten frmTest", "destroyed cmdA"}));
}

}  // namespace
}  // namespace xpkit

// Dialog behaviour of forms on the host: the focus when a form becomes active, default
// and cancel buttons, the form's own keys, closing, the press a modal box takes over,
// and the driver's input aimed at a control.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/backends/headless/HeadlessDriver.h"
#include "xpkit/controls/button/XPButton.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/UserControl.h"
#include "xpkit/platform/User.h"

namespace xpkit {
namespace {

// A focusable control that is not a button: it writes down focus and keys.
class Field : public UserControl {
 public:
  std::vector<std::string>* log = nullptr;
  void Note(const std::string& s) { log->push_back(Name() + "." + s); }
  void OnGotFocus() override { Note("GotFocus"); }
  void OnLostFocus() override { Note("LostFocus"); }
  void OnKeyDown(std::int16_t k, std::int16_t) override { Note("KeyDown " + std::to_string(k)); }
  void OnKeyUp(std::int16_t k, std::int16_t) override { Note("KeyUp " + std::to_string(k)); }
  void OnKeyPress(std::int16_t k) override { Note("KeyPress " + std::to_string(k)); }
};

class DialogTest : public ::testing::Test {
 protected:
  DialogTest() : form(host, "frmDialog", 300, 100), input(host, form) { backend.echoToStderr = false; }
  Field& AddField(const std::string& name, int left, int tabIndex) {
    auto& f = form.Add<Field>(name, {Px(left), Px(10), Px(60), Px(20)});
    f.log = &log;
    f.TabIndex = tabIndex;
    return f;
  }
  XPButton& AddButton(const std::string& name, int left, int tabIndex) {
    auto& b = form.Add<XPButton>(name, {Px(left), Px(60), Px(75), Px(23)});
    b.TabIndex = tabIndex;
    b.Click.Connect([this, name] { log.push_back(name + ".Click"); });
    b.KeyDown.Connect([this, name](std::int16_t& k, std::int16_t&) { log.push_back(name + ".KeyDown " + std::to_string(k)); });
    return b;
  }
  HeadlessBackend backend;
  Host host{backend};
  Form form;
  HeadlessDriver input;
  std::vector<std::string> log;
};

TEST_F(DialogTest, ActivationFocusesTheFirstTabStopThenTheLastFocus) {
  Field& second = AddField("Second", 100, 1);
  Field& first = AddField("First", 10, 0);
  Field& skipped = AddField("Skipped", 200, -1);
  skipped.TabStop = false;
  form.Show();
  EXPECT_EQ(host.Focused(), nullptr) << "showing a form focuses nothing";
  input.Activate();
  EXPECT_EQ(host.Focused(), &first);
  input.Key(vbKeyTab);
  EXPECT_EQ(host.Focused(), &second);

  // Another window takes the focus; activating this one again gives it back to Second.
  Form other(host, "frmOther", 100, 100);
  auto& elsewhere = other.Add<Field>("Elsewhere", {0, 0, Px(20), Px(20)});
  elsewhere.log = &log;
  other.Show();
  HeadlessDriver(host, other).Activate();
  input.Activate();
  input.Activate();  // already active: nothing happens
  EXPECT_EQ(host.Focused(), &second);
  EXPECT_EQ(log, (std::vector<std::string>{"First.GotFocus", "First.LostFocus", "Second.GotFocus",
                                           "Second.LostFocus", "Elsewhere.GotFocus", "Elsewhere.LostFocus",
                                           "Second.GotFocus"}));

  // The last focus gone or disabled: the first tab stop again; a disabled form keeps
  // the focus where it is.
  HeadlessDriver(host, other).Activate();
  second.SetHostEnabled(false);
  input.Activate();
  EXPECT_EQ(host.Focused(), &first);
  HeadlessDriver(host, other).Activate();
  host.session().user().EnableWindow(form.hWnd(), FALSE);
  input.Activate();
  EXPECT_EQ(host.Focused(), &elsewhere);

  // A form with nothing to focus takes the focus all the same: the keys are its own, and
  // Alt+F4 closes it, not the form whose control had the focus.
  Form bare(host, "frmBare", 100, 100);
  bare.Show();
  HeadlessDriver(host, bare).Activate();
  EXPECT_EQ(host.Focused(), nullptr);
  EXPECT_EQ(log.back(), "Elsewhere.LostFocus");
  HeadlessDriver(host, bare).Key(vbKeyF4, vbAltMask);
  EXPECT_TRUE(bare.Closed());
  EXPECT_FALSE(other.Closed());
}

TEST_F(DialogTest, ActivatedButtonTakesEnterAsItsOwnKeystroke) {
  XPButton& exit = AddButton("Exit", 10, 0);
  form.Show();
  input.Key(vbKeyReturn);
  EXPECT_TRUE(log.empty()) << "before activation nothing has the focus";
  input.Activate();
  EXPECT_EQ(exit.pressButton(), 1) << "the focus arrives as the focus notification";
  input.Key(vbKeyReturn);
  EXPECT_EQ(log, (std::vector<std::string>{"Exit.KeyDown 13", "Exit.Click"}));
}

TEST_F(DialogTest, EnterClicksTheDefaultButtonUnlessAButtonHasTheFocus) {
  Field& field = AddField("Field", 10, 0);
  XPButton& ok = AddButton("OK", 100, 1);
  XPButton& cancel = AddButton("Cancel", 200, 2);
  form.DefaultButton = &ok;
  form.CancelButton = &cancel;
  form.Show();
  input.Activate();

  // On the field: the default button takes Enter and its character; the release is the
  // field's. Escape likewise for the cancel button.
  input.Key(vbKeyReturn);
  input.Key(vbKeyEscape);
  EXPECT_EQ(log, (std::vector<std::string>{"Field.GotFocus", "OK.Click", "Field.KeyUp 13", "Cancel.Click",
                                           "Field.KeyUp 27"}));
  EXPECT_EQ(host.Focused(), &field) << "a default button clicked by Enter does not take the focus";

  // On the cancel button: Enter is that button's own; Escape still the cancel button's.
  log.clear();
  host.SetFocus(&cancel);
  input.Key(vbKeyReturn);
  input.Key(vbKeyEscape);
  EXPECT_EQ(log, (std::vector<std::string>{"Field.LostFocus", "Cancel.KeyDown 13", "Cancel.Click", "Cancel.Click"}));

  // A disabled default button leaves Enter to the focused control.
  log.clear();
  host.SetFocus(&field);
  ok.SetEnabled(false);
  input.Key(vbKeyReturn);
  EXPECT_EQ(log, (std::vector<std::string>{"Field.GotFocus", "Field.KeyDown 13", "Field.KeyPress 13", "Field.KeyUp 13"}));
}

TEST_F(DialogTest, KeyPreviewShowsTheFormKeysFirstAndMayStopThem) {
  AddField("Field", 10, 0);
  form.Show();
  input.Activate();
  auto note = [this](const std::string& what) { log.push_back("Form." + what); };
  form.KeyDown.Connect([&](std::int16_t& k, std::int16_t& shift) {
    note("KeyDown " + std::to_string(k) + " " + std::to_string(shift));
    if (k == 'Q') k = 0;  // kept from the field
    if (k == 'W') k = 'E';  // the field hears E instead
  });
  form.KeyPress.Connect([&](std::int16_t& a) {
    note("KeyPress " + std::to_string(a));
    if (a == 'q') a = 0;
  });
  form.KeyUp.Connect([&](std::int16_t& k, std::int16_t&) { note("KeyUp " + std::to_string(k)); });

  log.clear();
  input.Key('A');
  EXPECT_EQ(log, (std::vector<std::string>{"Field.KeyDown 65", "Field.KeyPress 97", "Field.KeyUp 65"}))
      << "without key preview the form hears nothing while a control has the focus";

  form.KeyPreview = true;
  log.clear();
  input.Key('Q', vbShiftMask);
  input.KeyDown('W');
  EXPECT_EQ(log, (std::vector<std::string>{"Form.KeyDown 81 1", "Form.KeyPress 81", "Field.KeyPress 81",
                                           "Form.KeyUp 81", "Field.KeyUp 81", "Form.KeyDown 87 0",
                                           "Field.KeyDown 69"}));
  log.clear();
  input.Char('q');
  EXPECT_EQ(log, (std::vector<std::string>{"Form.KeyPress 113"}));

  // No control focused: the form hears its keys without key preview.
  form.KeyPreview = false;
  host.SetFocus(nullptr);
  log.clear();
  input.Key('A');
  EXPECT_EQ(log, (std::vector<std::string>{"Form.KeyDown 65 0", "Form.KeyPress 97", "Form.KeyUp 65"}));
}

TEST_F(DialogTest, ClosingMayBeRefusedAndUnloadsOnce) {
  form.Show();
  input.Activate();  // Alt+F4 closes the active form
  int unloaded = 0;
  bool refuse = true;
  std::vector<bool> asked;
  form.Closing.Connect([&](bool& cancel) {
    asked.push_back(cancel);
    cancel = refuse;
  });
  form.Unloaded.Connect([&] { ++unloaded; });

  input.Close();
  input.Key(vbKeyF4, vbAltMask);
  EXPECT_FALSE(form.Closed());
  EXPECT_EQ(unloaded, 0);
  refuse = false;
  input.Key(vbKeyF4, vbAltMask);
  EXPECT_TRUE(form.Closed());
  form.Close();
  EXPECT_EQ(asked, (std::vector<bool>{false, false, false}));
  EXPECT_EQ(unloaded, 1);

  // The end of the program reaches no form.
  Form other(host, "frmOther", 100, 100);
  other.Closing.Connect([&](bool&) { host.End(); });
  other.Unloaded.Connect([&] { ++unloaded; });
  EXPECT_FALSE(host.RequestClose(other));
  EXPECT_EQ(unloaded, 1);
}

TEST_F(DialogTest, AModalBoxTakesOverThePressThatOpenedIt) {
  XPButton& open = AddButton("Open", 10, 0);
  XPButton& other = AddButton("Other", 100, 1);
  form.Show();
  open.MouseDown.Connect([&](std::int16_t&, std::int16_t&, float&, float&) {
    host.MsgBox(u"from a press");
    EXPECT_EQ(host.session().user().GetCapture(), HWND{0});
  });
  input.Press(open);
  input.Release();
  EXPECT_EQ(log, (std::vector<std::string>{})) << "the box had the press: its release clicks nothing";
  input.Click(other);
  EXPECT_EQ(log, (std::vector<std::string>{"Other.Click"}));
  EXPECT_EQ(backend.messageBoxes.size(), 1u);
}

TEST_F(DialogTest, DriverAimsAtAControlsMiddle) {
  XPButton& a = AddButton("A", 10, 0);
  XPButton& b = AddButton("B", 100, 1);
  form.Show();
  std::vector<std::string> moves;
  a.MouseOver.Connect([&] { moves.push_back("A.MouseOver"); });
  b.MouseDown.Connect([&](std::int16_t& button, std::int16_t&, float& x, float& y) {
    moves.push_back("B.MouseDown " + std::to_string(button) + " " + std::to_string(static_cast<int>(x)) + "," +
                    std::to_string(static_cast<int>(y)));
  });
  input.Hover(a);
  input.Click(b, vbRightButton);
  input.Click(b);
  EXPECT_EQ(moves, (std::vector<std::string>{"A.MouseOver", "B.MouseDown 2 37,11", "B.MouseDown 1 37,11"}));
  EXPECT_EQ(log, (std::vector<std::string>{"B.Click"}));
  EXPECT_EQ(host.Focused(), &b);
}

}  // namespace
}  // namespace xpkit

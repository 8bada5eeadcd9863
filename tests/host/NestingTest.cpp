// Controls nested as deep as a program makes them: showing, finding, tabbing, composing
// and destroying walk the tree without recursion, and a control the session has no room
// for is an Error, never a control that draws nothing.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "xpkit/Error.h"
#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/host/Compositor.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/Host.h"
#include "xpkit/host/UserControl.h"
#include "xpkit/platform/Session.h"

namespace xpkit {
namespace {

TEST(Nesting, ControlsGoAsDeepAsTheSessionHasRoomFor) {
  HeadlessBackend backend;
  Host host(backend);
  std::optional<Form> form(std::in_place, host, "frm", 20, 20);
  Container* inner = &*form;
  int depth = 0;
  try {
    for (;;) {
      inner = &inner->Add<UserControl>("c", {0, 0, 150, 150});
      ++depth;
    }
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::OutOfMemory) << e.what();
  }
  // Each takes one of the session's 16384 GDI objects, for its image's device context.
  EXPECT_GT(depth, 16000);
  auto& deepest = static_cast<UserControl&>(*inner);
  EXPECT_TRUE(deepest.controls().empty());  // the one refused is not kept
  deepest.surface().SetBackColor(RGB(255, 0, 0));
  form->Show();
  EXPECT_EQ(form->Find("none"), nullptr);
  host.SendKeys(u"{Tab}");
  host.Pump();
  EXPECT_EQ(host.Focused(), form->controls().front().get());
  EXPECT_EQ(ComposeForm(*form).ColorAt(5, 5), RGB(255, 0, 0));  // the deepest lies on top
  const HWND hwnd = deepest.hWnd();
  form.reset();
  EXPECT_FALSE(host.session().user().IsWindow(hwnd));
  Form again(host, "frm", 20, 20);
  EXPECT_EQ(again.Add<UserControl>("c", {0, 0, 150, 150}).Name(), "c");
}

// Children go last first, each after its own children: a control's destructor finds
// none left.
TEST(Nesting, ControlsAreDestroyedLastFirstEachAfterItsChildren) {
  struct Noted : UserControl {
    std::vector<std::string>* log = nullptr;
    ~Noted() override { log->push_back(Name() + (controls().empty() ? "" : " with children")); }
  };
  std::vector<std::string> log;
  HeadlessBackend backend;
  Host host(backend);
  {
    Form form(host, "frm", 20, 20);
    auto add = [&](Container& parent, const char* name) -> Noted& {
      Noted& n = parent.Add<Noted>(name, {0, 0, 150, 150});
      n.log = &log;
      return n;
    };
    Noted& a = add(form, "A");
    add(add(a, "A1"), "A1a");
    add(a, "A2");
    add(form, "B");
  }
  EXPECT_EQ(log, (std::vector<std::string>{"B", "A2", "A1a", "A1", "A"}));
}

// Past the windows a session can name (some 16 million in its life), a control is an
// Error and is not kept.
TEST(Nesting, AControlWithoutAWindowIsAnError) {
  HeadlessBackend backend;
  Host host(backend);
  Form form(host, "frm", 20, 20);
  User& user = host.session().user();
  while (const HWND h = user.CreateWindowHandle(form.hWnd(), {0, 0, 1, 1})) user.DestroyWindow(h);
  try {
    form.Add<UserControl>("c", {0, 0, 150, 150});
    ADD_FAILURE() << "a control without a window was made";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::OutOfMemory);
    EXPECT_STREQ(e.what(),
                 "Out of memory: no window can be made for control 'c': this session has made all the windows it can");
  }
  EXPECT_TRUE(form.controls().empty());
}

}  // namespace
}  // namespace xpkit

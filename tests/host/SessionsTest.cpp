// Two hosts in one process, each with its own session: neither sees the other's windows,
// input, capture or repaints, and both may draw from threads of their own at once.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/backends/headless/HeadlessDriver.h"
#include "xpkit/controls/button/XPButton.h"
#include "xpkit/host/Compositor.h"
#include "xpkit/host/Form.h"
#include "gallery/Gallery.h"

namespace xpkit {
namespace {

struct CountingBackend : HeadlessBackend {
  int changed = 0;
  void WindowChanged(HWND) override { ++changed; }
};

// A host with a form holding one button at (10, 10), 106 x 22 pixels.
struct Window {
  Window() {
    backend.echoToStderr = false;
    PropertyBag bag;
    bag.WriteProperty("caption", std::u16string(u"&OK"));
    button = &form.Add<XPButton>("cmdOK", {150, 150, 1590, 330}, &bag);
    form.Show();
    button->Click.Connect([this] { ++clicks; });
  }
  CountingBackend backend;
  Host host{backend};
  Form form{host, "frm", 200, 100};
  HeadlessDriver input{host, form};
  XPButton* button = nullptr;
  int clicks = 0;
};

TEST(TwoHosts, EachDrivesItsOwnWindowAlone) {
  Window a;
  auto b = std::make_unique<Window>();
  EXPECT_NE(a.form.hWnd(), b->form.hWnd());
  EXPECT_FALSE(b->host.session().user().IsWindow(a.button->hWnd()));
  const Bitmap normal = ComposeControl(*b->button);

  // Hovering and pressing in one shows nowhere else and captures nothing elsewhere.
  const int changedB = b->backend.changed;
  a.input.MoveTo(50, 20);
  a.input.Press();
  EXPECT_EQ(a.host.session().user().GetCapture(), a.button->hWnd());
  EXPECT_EQ(b->host.session().user().GetCapture(), 0u);
  EXPECT_EQ(ComposeControl(*b->button), normal);
  EXPECT_EQ(b->backend.changed, changedB);
  a.input.Release();
  EXPECT_EQ(a.clicks, 1);
  EXPECT_EQ(b->clicks, 0);

  // The second host ends; the first one's repaints still reach its backend.
  b.reset();
  const int changedA = a.backend.changed;
  a.input.Key('O', vbAltMask);
  EXPECT_EQ(a.clicks, 2);
  EXPECT_GT(a.backend.changed, changedA);
}

TEST(TwoHosts, HostsCanShareASessionTheirOwnerKeeps) {
  Session shared;
  HeadlessBackend backendA, backendB;
  Host a(backendA, shared), b(backendB, shared);
  Form fa(a, "fa", 50, 50), fb(b, "fb", 50, 50);
  EXPECT_EQ(&a.session(), &b.session());
  EXPECT_TRUE(shared.user().IsWindow(fa.hWnd()));
  EXPECT_TRUE(shared.user().IsWindow(fb.hWnd()));
}

TEST(TwoHosts, ThreadsRenderAtOnceEachWithItsOwnSession) {
  const ButtonLook looks[] = {ButtonLook::Normal, ButtonLook::Hover, ButtonLook::Focus, ButtonLook::Pressed,
                              ButtonLook::Disabled};
  std::vector<Bitmap> expected;
  for (ButtonLook look : looks) expected.push_back(RenderButton({106, 22, look}));
  HeaderRequest header{331, 40, u"Caption", u"Description", std::nullopt};
  const Bitmap expectedHeader = RenderHeader(header);

  auto work = [&](std::vector<std::string>* faults) {
    for (int round = 0; round < 4; ++round) {
      for (std::size_t i = 0; i < std::size(looks); ++i)
        if (!(RenderButton({106, 22, looks[i]}) == expected[i]))
          faults->push_back("look " + std::to_string(i) + " in round " + std::to_string(round));
      if (!(RenderHeader(header) == expectedHeader)) faults->push_back("header in round " + std::to_string(round));
    }
  };
  std::vector<std::string> faults1, faults2;
  std::thread t1(work, &faults1), t2(work, &faults2);
  t1.join();
  t2.join();
  EXPECT_TRUE(faults1.empty()) << faults1.front();
  EXPECT_TRUE(faults2.empty()) << faults2.front();
}

}  // namespace
}  // namespace xpkit

// A form with one or two buttons, scripted input, an event log and a look classifier.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/backends/headless/HeadlessDriver.h"
#include "xpkit/controls/button/XPButton.h"
#include "xpkit/host/Compositor.h"
#include "xpkit/host/Form.h"
#include "xpkit/platform/User.h"

namespace xpkit::test {

class ButtonTest : public ::testing::Test {
 protected:
  // The first button's client area sits at form pixels (10, 10).
  static constexpr int kX = 10, kY = 10;

  ButtonTest() : form(host, "frmTest", 331, 154), input(host, form) {
    backend.echoToStderr = false;
    form.Show();
    input.MoveTo(300, 140);  // the pointer starts over the bare form
  }

  static PropertyBag Stored(const std::u16string& caption) {
    PropertyBag bag;
    bag.WriteProperty("caption", caption);
    bag.WriteProperty("forecolor", ColorValue{0x80000006});
    return bag;
  }

  XPButton& Place(int w, int h, const std::u16string& caption = u"", const char* name = "cmdExit", int left = kX) {
    const PropertyBag bag = Stored(caption);
    return form.Add<XPButton>(name, {Px(left), Px(kY), Px(w), Px(h)}, &bag);
  }

  // Every event of `b` as a line of the log.
  void Record(XPButton& b) {
    const std::string n = b.Name() + ".";
    auto mouse = [this, n](const char* e) {
      return [this, n, e](std::int16_t& btn, std::int16_t& sh, float&, float&) {
        log.push_back(n + e + " " + std::to_string(btn) + " " + std::to_string(sh));
      };
    };
    b.MouseDown.Connect(mouse("MouseDown"));
    b.MouseMove.Connect(mouse("MouseMove"));
    b.MouseUp.Connect(mouse("MouseUp"));
    b.Click.Connect([this, n] { log.push_back(n + "Click"); });
    b.MouseOver.Connect([this, n] { log.push_back(n + "MouseOver"); });
    b.MouseOut.Connect([this, n] { log.push_back(n + "MouseOut"); });
    b.KeyPress.Connect([this, n](std::int16_t& k) { log.push_back(n + "KeyPress " + std::to_string(k)); });
    b.KeyDown.Connect([this, n](std::int16_t& k, std::int16_t&) { log.push_back(n + "KeyDown " + std::to_string(k)); });
    b.KeyUp.Connect([this, n](std::int16_t& k, std::int16_t&) { log.push_back(n + "KeyUp " + std::to_string(k)); });
  }

  std::vector<std::string> TakeLog() { return std::exchange(log, {}); }

  // Which look the image shows, from pixels no caption reaches on a 106 x 22 button.
  static std::string Look(const XPButton& b) {
    const Bitmap img = ComposeControl(b);
    const COLORREF top = img.ColorAt(50, 1);
    if (img.ColorAt(5, 5) == RGB(245, 244, 234)) return "disabled";
    if (img.ColorAt(50, 5) == RGB(225, 224, 217)) return "pressed";
    if (top == RGB(255, 240, 207)) return "hover";
    if (top == RGB(206, 231, 251)) return "focus";
    if (top == GetSysColor(COLOR_WINDOW)) return "normal";
    return "unknown";
  }

  HeadlessBackend backend;
  Host host{backend};
  Gdi& gdi = host.session().gdi();
  User& user = host.session().user();
  Form form;
  HeadlessDriver input;
  std::vector<std::string> log;
};

}  // namespace xpkit::test

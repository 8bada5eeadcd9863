// The program's window with a message box over it, for the end-to-end tests: shows the
// main window, then the kit's message box with the text and caption given: once the
// window is up, or with --open-by-click when a button "Open" (at 10,50 in the window,
// 75 x 23) is clicked. Exit ends it,
// returning from main as a program of one's own would (the backend closes the display),
// with status 0 when the box was closed before. --late-request sends requests about
// the box's window, destroyed by then, just before the end: one on SDL's connection to
// the display, whose error arrives as the backend closes its windows, and one on a
// connection of its own that closes after the backend has gone, as SDL's second
// connection does. On the accessibility bus when one is enabled.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <memory>
#include <string>

#include "xpkit/accessibility/atk/AtkBridge.h"
#include "xpkit/backends/sdl2/Sdl2Backend.h"
#include "xpkit/codepage/Utf.h"
#include "xpkit/controls/msgbox/frmMsgBox.h"
#include "xpkit/shell/AppIcon.h"
#include "xpkit/shell/frmMain.h"

namespace {

struct XWindow {
  Display* display = nullptr;
  Window window = 0;
};

// The X window of the SDL window that has the keyboard: the box, while it is open.
XWindow FocusedXWindow() {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  SDL_Window* w = SDL_GetKeyboardFocus();
  if (!w || !SDL_GetWindowWMInfo(w, &info) || info.subsystem != SDL_SYSWM_X11) return {};
  return {info.info.x11.display, info.info.x11.window};
}

}  // namespace

int main(int argc, char** argv) {
  bool byClick = false, lateRequest = false;
  int i = 1;
  for (; i < argc && std::string(argv[i]).starts_with("--"); ++i) {
    if (std::string(argv[i]) == "--open-by-click") byClick = true;
    else if (std::string(argv[i]) == "--late-request") lateRequest = true;
    else return 2;
  }
  if (argc - i != 2) {
    std::fprintf(stderr, "usage: msgbox_window [--open-by-click] [--late-request] TEXT CAPTION\n");
    return 2;
  }
  const auto text = xpkit::FromUtf8(argv[i]), caption = xpkit::FromUtf8(argv[i + 1]);
  if (!text || !caption) return 2;
  Display* own = lateRequest ? XOpenDisplay(nullptr) : nullptr;
  bool closed = false;
  try {
    xpkit::Sdl2Backend backend;
    backend.SetScale(1);
    xpkit::Host host(backend);
    XWindow box;
    backend.SetMessageBoxMaker([&](const std::u16string& t, const std::u16string& c) {
      auto dialog = std::make_unique<xpkit::frmMsgBox>(host, t, c);
      if (lateRequest) dialog->Unloaded.Connect([&] { box = FocusedXWindow(); });
      return dialog;
    });
    const auto accessibility = xpkit::AtkBridge::StartIfWanted(host);
    backend.SetLoopService(accessibility.get());
    xpkit::frmMain form(host, xpkit::DefaultLayout());
    auto open = [&] {
      host.MsgBox(*text, *caption);
      closed = true;
    };
    if (byClick) {
      auto& button = form.Add<xpkit::XPButton>("cmdOpen", {xpkit::Px(10), xpkit::Px(50), xpkit::Px(75), xpkit::Px(23)});
      button.SetCaption(u"Open");
      button.Click.Connect(open);
    } else {
      xpkit::Timer& later = form.cmdExit->AddTimer();
      later.SetInterval(200);
      later.SetTickHandler([&] {
        later.SetEnabled(false);
        open();
      });
      later.SetEnabled(true);
    }
    // After frmMain's own handler, which ends the program.
    form.cmdExit->Click.Connect([&] {
      if (!closed) std::fprintf(stderr, "msgbox_window: Exit clicked while the box was open\n");
      if (!box.display) return;
      XEvent e{};
      e.xclient.type = ClientMessage;
      e.xclient.window = box.window;
      e.xclient.format = 32;
      XSendEvent(box.display, box.window, False, NoEventMask, &e);
      if (own) XSendEvent(own, box.window, False, NoEventMask, &e);
    });
    backend.Run(host, form, xpkit::MakeAppIcon());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "msgbox_window: %s\n", e.what());
    return 1;
  }
  if (own) XCloseDisplay(own);
  return closed ? 0 : 3;
}

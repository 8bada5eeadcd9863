// The window of own_window.cpp built from a layout file, layout_window.layout, with its
// events wired in C++: OK prints "ok", Cancel ends the program. It opens a real window,
// or with --screenshot FILE.png composes the window headless into a picture.
#include <iostream>
#include <string>

#include <xpkit/backends/headless/HeadlessBackend.h>
#include <xpkit/backends/sdl2/Sdl2Backend.h>
#include <xpkit/controls/button/XPButton.h>
#include <xpkit/host/Compositor.h>
#include <xpkit/host/Host.h>
#include <xpkit/layout/LayoutFile.h>
#include <xpkit/layout/LayoutForm.h>
#include <xpkit/platform/PngFile.h>

// The build names the layout file beside this source; --layout names another.
#ifndef LAYOUT_WINDOW_FILE
#define LAYOUT_WINDOW_FILE "layout_window.layout"
#endif

namespace {

constexpr const char* kUsage = R"(usage:
  layout_window [--layout FILE]                         show the window (needs a display)
  layout_window [--layout FILE] --screenshot FILE.png   compose it into a PNG, no display needed
  layout_window --help
The window comes from layout_window.layout, or from FILE. OK (or Enter) prints "ok";
Cancel (or Escape, or Alt+C, or the close box) ends the program.
)";

// The window's events, wired by name: Control<T> throws when the layout has no such
// control of that class.
void Wire(xpkit::LayoutForm& form) {
  form.Control<xpkit::XPButton>("cmdOK").Click.Connect([] { std::cout << "ok" << std::endl; });
  form.Control<xpkit::XPButton>("cmdCancel").Click.Connect([&form] { form.host().End(); });
}

int Screenshot(const xpkit::Layout& layout, const std::string& png) {
  xpkit::HeadlessBackend backend;
  xpkit::Host host(backend);
  xpkit::LayoutForm form(host, layout);
  Wire(form);
  form.Show();
  xpkit::WritePng(xpkit::ComposeForm(form), png);
  return 0;
}

// The real window: the SDL2 backend runs the message loop until the program ends.
int ShowWindow(const xpkit::Layout& layout) {
  xpkit::Sdl2Backend backend;  // Error(NoDisplay) when there is no display
  xpkit::Host host(backend);
  xpkit::LayoutForm form(host, layout);
  Wire(form);
  backend.Run(host, form, xpkit::Bitmap(32, 32, 0xFF7791AD));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string layoutFile = LAYOUT_WINDOW_FILE, png;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if ((a == "--layout" || a == "--screenshot") && i + 1 < argc) {
      (a == "--layout" ? layoutFile : png) = argv[++i];
      continue;
    }
    std::cerr << "layout_window: bad usage: '" << a << "'\n" << kUsage;
    return 2;
  }
  try {
    // A faulty file is a LayoutError "FILE:LINE: what is wrong".
    const xpkit::Layout layout = xpkit::ReadLayoutFile(layoutFile);
    return png.empty() ? ShowWindow(layout) : Screenshot(layout, png);
  } catch (const xpkit::Error& e) {
    std::cerr << "layout_window: " << e.what() << "\n";
    if (e.code() == xpkit::ErrorCode::NoDisplay)
      std::cerr << "Run it in a desktop session, or compose a picture: layout_window --screenshot window.png\n";
    const bool badInput = e.code() == xpkit::ErrorCode::BadLayout || e.code() == xpkit::ErrorCode::NoDisplay;
    return badInput ? 2 : 1;
  }
}

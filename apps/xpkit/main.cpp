// xpkit: the program's window, in a real window, or composed headless into a PNG.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xpkit/accessibility/atk/AtkBridge.h"
#include "xpkit/backends/headless/HeadlessBackend.h"
#include "xpkit/backends/sdl2/Sdl2Backend.h"
#include "xpkit/backends/sdl2/detail/DesktopScale.h"
#include "xpkit/controls/msgbox/frmMsgBox.h"
#include "xpkit/files/FileError.h"
#include "xpkit/host/Accessible.h"
#include "xpkit/host/Compositor.h"
#include "xpkit/layout/LayoutFile.h"
#include "xpkit/platform/PngFile.h"
#include "xpkit/shell/AppIcon.h"
#include "xpkit/shell/frmMain.h"
#include "common/Args.h"
#include "common/Options.h"

namespace {

constexpr const char* kUsage = R"(usage:
  xpkit [--layout FILE] [--scale N]             show the window
  xpkit [--layout FILE] [--scale N] --screenshot FILE.png
                                                compose the window into a PNG, no display needed
  xpkit [--layout FILE] --save-layout FILE      write the window's layout as its controls save it
  xpkit [--layout FILE] [--scale N] --accessibility-tree
                                                print what assistive technology is told of the window
  xpkit --help | --version

Click Exit (or focus it with Tab and press Space or Enter), or close the window, to end.
--layout loads a layout file instead of the built-in one; --save-layout,
--screenshot and --accessibility-tree run without a display and can be given
together. A FILE of "-" is standard input or output.
--accessibility-tree prints the window and its controls one a line: role, name,
description, states, and place and size in screen pixels (the window centred on a
1024x768 screen, at --scale), then key binding and actions. In a real window the same
is on the desktop's accessibility bus (AT-SPI) when a screen reader or another
assistive technology has enabled it; NO_AT_BRIDGE=1 keeps the window off it.
--scale N (1 to 4) shows every pixel as an N x N block, for dense screens. Without it
the window takes XPKIT_SCALE, else the desktop's GDK_SCALE, else its Xft.dpi (2 from
144 dpi, 3 from 240, 4 from 336); a screenshot is at --scale, else 1.
Exit status: 0 ended normally, 1 a file could not be written, the window or the
display went away, or no installed font could draw a text, 2 bad usage, a bad layout
file, or no display.
)";

using xpkit::cli::Quoted;
using xpkit::cli::UsageError;

struct Options {
  std::optional<std::string> layout, screenshot, saveLayout, scale;
  bool accessibilityTree = false;
  static Options From(const xpkit::cli::CommandLine& line);
};

// --scale, else XPKIT_SCALE (for a window), else 0: the desktop decides.
int Scale(const Options& o, bool window) {
  auto parse = [](const std::string& text, const std::string& name) {
    const auto n = xpkit::ParseScale(text);
    if (!n) throw UsageError(name + " must be a whole number from 1 to 4, not " + Quoted(text));
    return *n;
  };
  if (o.scale) return parse(*o.scale, "--scale");
  const char* env = window ? std::getenv("XPKIT_SCALE") : nullptr;
  return env ? parse(env, "XPKIT_SCALE") : 0;
}

constexpr xpkit::cli::OptionRule kOptions[] = {
    {"--layout", xpkit::cli::kFileName},
    {"--screenshot", xpkit::cli::kFileName},
    {"--save-layout", xpkit::cli::kFileName},
    {"--scale", xpkit::cli::kNumber},
    {"--accessibility-tree", xpkit::cli::kSwitch}};

Options Options::From(const xpkit::cli::CommandLine& line) {
  Options o;
  const auto take = [&](const char* name) -> std::optional<std::string> {
    const std::string* value = line.Find(name);
    return value ? std::optional(*value) : std::nullopt;
  };
  o.layout = take("--layout");
  o.screenshot = take("--screenshot");
  o.saveLayout = take("--save-layout");
  o.scale = take("--scale");
  o.accessibilityTree = line.Has("--accessibility-tree");
  return o;
}

int Headless(const Options& o, const xpkit::Layout& layout, int scale) {
  xpkit::HeadlessBackend backend;
  xpkit::Host host(backend);
  xpkit::frmMain form(host, layout);
  form.Show();
  if (o.saveLayout) xpkit::WriteLayoutFile(*o.saveLayout, form.SaveLayout());
  if (o.screenshot) {
    // Enlarged a row at a time as it is written: the largest window at scale 4 would take
    // 256 MB whole.
    const xpkit::Bitmap shot = xpkit::ComposeForm(form);
    xpkit::WritePng(xpkit::EnlargedRows(shot, std::max(scale, 1)), *o.screenshot);
  }
  if (o.accessibilityTree) {
    // Where a window of that scale would be: centred on the screen.
    const int n = std::max(scale, 1);
    const xpkit::POINT screen = backend.ScreenSize();
    const xpkit::ScreenPlace place{{(screen.x - form.ClientWidthPx() * n) / 2, (screen.y - form.ClientHeightPx() * n) / 2}, n};
    std::fputs(xpkit::AccessibleTree(form, place).c_str(), stdout);
  }
  return 0;
}

int Windowed(const xpkit::Layout& layout, int scale) {
  std::optional<xpkit::Sdl2Backend> backend;
  try {
    backend.emplace();
  } catch (const xpkit::Error& e) {
    if (e.code() != xpkit::ErrorCode::NoDisplay) throw;
    throw xpkit::Error(xpkit::ErrorCode::NoDisplay, {},
                       std::string("no display is available (") + e.what() +
                           ").\nRun it in a desktop session (DISPLAY or WAYLAND_DISPLAY set), or make a picture of "
                           "the\nwindow without a display:\n  xpkit --screenshot window.png");
  }
  backend->SetScale(scale);
  xpkit::Host host(*backend);
  backend->SetMessageBoxMaker([&host](const std::u16string& text, const std::u16string& caption) {
    return std::make_unique<xpkit::frmMsgBox>(host, text, caption);
  });
  // Made before the window shows, so that it hears of it.
  const auto accessibility = xpkit::AtkBridge::StartIfWanted(host);
  backend->SetLoopService(accessibility.get());
  xpkit::frmMain form(host, layout);
  if (backend->Run(host, form, xpkit::MakeAppIcon()) == xpkit::Sdl2Backend::RunEnd::DisplayLost)
    throw xpkit::Error(xpkit::ErrorCode::DisplayLost, {}, backend->LostReason());
  // The program ends at once: no window or control is torn down, and the display
  // connection closes with the process (the X server frees the window then).
  std::fflush(nullptr);
  std::_Exit(0);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return xpkit::cli::RunTool("xpkit", [&] {
    const auto line = xpkit::cli::ParseCommandLine(args, {.options = kOptions});
    if (line.ask == xpkit::cli::CommandLine::Ask::Help) return xpkit::cli::PrintUsage(kUsage);
    if (line.ask == xpkit::cli::CommandLine::Ask::Version) return xpkit::cli::PrintVersion("xpkit");
    const Options o = Options::From(line);
    const bool window = !o.screenshot && !o.saveLayout && !o.accessibilityTree;
    const int scale = Scale(o, window);
    xpkit::Layout layout;
    try {
      layout = o.layout ? xpkit::ReadLayoutFile(*o.layout) : xpkit::DefaultLayout();
    } catch (const xpkit::FileError& e) {  // a layout file that cannot be read is bad input
      throw xpkit::Error(xpkit::ErrorCode::BadLayout, e.where(), e.reason());
    }
    return window ? Windowed(layout, scale) : Headless(o, layout, scale);
  });
}

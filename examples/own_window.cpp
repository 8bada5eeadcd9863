// A window of one's own, made in C++: a banner and two buttons. OK prints "ok", Cancel
// ends the program. It opens a real window, or with --screenshot FILE.png composes the
// window headless into a picture.
#include <iostream>
#include <string>

#include <xpkit/backends/headless/HeadlessBackend.h>
#include <xpkit/backends/sdl2/Sdl2Backend.h>
#include <xpkit/controls/button/XPButton.h>
#include <xpkit/controls/header/XPHeader.h>
#include <xpkit/host/Compositor.h>
#include <xpkit/host/Form.h>
#include <xpkit/host/Host.h>
#include <xpkit/platform/PngFile.h>

namespace {

constexpr const char* kUsage = R"(usage:
  own_window                         show the window (needs a display)
  own_window --screenshot FILE.png   compose the window into a PNG, no display needed
  own_window --help
OK prints "ok"; Cancel (or Alt+C, or the close box) ends the program.
)";

// A form places its children in twips: 15 to a pixel.
constexpr auto Px = xpkit::PixelsToTwips;

class OkCancelForm : public xpkit::Form {
 public:
  explicit OkCancelForm(xpkit::Host& host)
      : Form(host, "frmOkCancel", 330, 110),
        banner(Add<xpkit::XPHeader>("Banner", {0, 0, Px(330), Px(40), xpkit::Dock::Top})),
        ok(Add<xpkit::XPButton>("cmdOK", {Px(170), Px(76), Px(75), Px(23)})),
        cancel(Add<xpkit::XPButton>("cmdCancel", {Px(250), Px(76), Px(75), Px(23)})) {
    Caption = u"xpkit example";
    // A control placed without stored properties starts from its new-instance
    // defaults; these writes set what this window wants.
    banner.SetFont(Font);
    banner.SetCaption(u"A window of one's own");
    banner.SetDescription(u"A banner and two buttons");
    ok.SetCaption(u"&OK");  // "&" marks the access key: Alt+O
    cancel.SetCaption(u"&Cancel");

    ok.Click.Connect([] { std::cout << "ok" << std::endl; });
    cancel.Click.Connect([this] { this->host().End(); });
  }

  xpkit::XPHeader& banner;
  xpkit::XPButton& ok;
  xpkit::XPButton& cancel;
};

int Screenshot(const std::string& png) {
  xpkit::HeadlessBackend backend;
  xpkit::Host host(backend);
  OkCancelForm form(host);
  form.Show();
  xpkit::WritePng(xpkit::ComposeForm(form), png);
  return 0;
}

// The real window: the SDL2 backend runs the message loop until the program ends.
int ShowWindow() {
  xpkit::Sdl2Backend backend;  // Error(NoDisplay) when there is no display
  xpkit::Host host(backend);
  OkCancelForm form(host);
  backend.Run(host, form, xpkit::Bitmap(32, 32, 0xFF7791AD));  // its icon: a slate-blue square
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  try {
    if (argc == 2 && (first == "--help" || first == "-h")) {
      std::cout << kUsage;
      return 0;
    }
    if (argc == 3 && first == "--screenshot") return Screenshot(argv[2]);
    if (argc == 1) return ShowWindow();
    std::cerr << "own_window: bad usage\n" << kUsage;
    return 2;
  } catch (const xpkit::Error& e) {  // no display, a bad XPKIT_CODEPAGE, a PNG not written
    std::cerr << "own_window: " << e.what() << "\n";
    if (e.code() == xpkit::ErrorCode::NoDisplay)
      std::cerr << "Run it in a desktop session, or compose a picture: own_window --screenshot window.png\n";
    return e.code() == xpkit::ErrorCode::NoDisplay ? 2 : 1;
  }
}

// The program's window with a message box over it, for the end-to-end test: shows the
// main window, then, once it is up, the kit's message box with the text and caption
// given; ends with status 0 when Exit is clicked after the box was closed.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "xpkit/backends/sdl2/Sdl2Backend.h"
#include "xpkit/codepage/Utf.h"
#include "xpkit/controls/msgbox/frmMsgBox.h"
#include "xpkit/shell/AppIcon.h"
#include "xpkit/shell/frmMain.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: msgbox_window TEXT CAPTION\n");
    return 2;
  }
  const auto text = xpkit::FromUtf8(argv[1]), caption = xpkit::FromUtf8(argv[2]);
  if (!text || !caption) return 2;
  try {
    xpkit::Sdl2Backend backend;
    backend.SetScale(1);
    xpkit::Host host(backend);
    backend.SetMessageBoxMaker([&host](const std::u16string& t, const std::u16string& c) {
      return std::make_unique<xpkit::frmMsgBox>(host, t, c);
    });
    xpkit::frmMain form(host, xpkit::DefaultLayout());
    bool closed = false;
    xpkit::Timer& later = form.cmdExit->AddTimer();
    later.SetInterval(200);
    later.SetTickHandler([&] {
      later.SetEnabled(false);
      host.MsgBox(*text, *caption);
      closed = true;
    });
    later.SetEnabled(true);
    form.cmdExit->Click.Connect([&] {
      if (!closed) std::fprintf(stderr, "msgbox_window: Exit clicked while the box was open\n");
    });
    backend.Run(host, form, xpkit::MakeAppIcon());
    std::fflush(nullptr);
    std::_Exit(closed ? 0 : 3);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "msgbox_window: %s\n", e.what());
    return 1;
  }
}

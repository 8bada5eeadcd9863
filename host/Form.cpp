#include "xpkit/host/Form.h"

#include <functional>

#include "xpkit/host/Host.h"
#include "xpkit/host/UserControl.h"
#include "xpkit/platform/Session.h"

namespace xpkit {

Form::Form(Host& host, std::string name, int clientWidthPx, int clientHeightPx)
    : host_(host), name_(std::move(name)) {
  hwnd_ = session().user().CreateWindowHandle(0, {0, 0, clientWidthPx, clientHeightPx});
  session().user().ShowWindow(hwnd_, SW_HIDE);
  FontDesc d;
  d.charset = session().codePage().charset();
  Font = MakeFont(d);
  host_.RegisterForm(*this);
}

Form::~Form() {
  host_.ForgetForm(*this);
  // Controls go first, while the form's window still exists.
  DestroyControls();
  session().user().DestroyWindow(hwnd_);
}

void Form::Show() {
  const POINT screen = host_.backend().ScreenSize();
  const int w = ClientWidthPx(), h = ClientHeightPx();
  if (Frame.centred) session().user().MoveWindow(hwnd_, (screen.x - w) / 2, (screen.y - h) / 2, w, h, FALSE);
  session().user().ShowWindow(hwnd_, SW_SHOW);
  shown_ = true;
  std::function<void(const Container&)> show = [&](const Container& c) {
    for (const auto& child : c.controls()) {
      child->OnShow();
      show(*child);
    }
  };
  show(*this);
}

}  // namespace xpkit

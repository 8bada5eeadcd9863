#include "xpkit/host/Form.h"

#include "xpkit/Error.h"
#include "xpkit/host/Host.h"
#include "xpkit/host/UserControl.h"
#include "xpkit/platform/Session.h"

namespace xpkit {

Form::Form(Host& host, std::string name, int clientWidthPx, int clientHeightPx)
    : host_(host), name_(std::move(name)) {
  if (clientWidthPx > kMaxControlPixels || clientHeightPx > kMaxControlPixels)
    throw Error(ErrorCode::InvalidProcedureCall, "form '" + name_ + "' would be " + std::to_string(clientWidthPx) +
                                                     " x " + std::to_string(clientHeightPx) +
                                                     " pixels; a form is at most " + std::to_string(kMaxControlPixels) +
                                                     " pixels either way");
  hwnd_ = session().user().CreateWindowHandle(0, {0, 0, clientWidthPx, clientHeightPx});
  if (!hwnd_)
    throw Error(ErrorCode::OutOfMemory,
                "no window can be made for form '" + name_ + "': this session has made all the windows it can");
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
  ForEachControl([](UserControl& c, int) {
    c.OnShow();
    return true;
  });
}

void Form::Close() {
  if (closed_) return;
  closed_ = true;
  Unloaded.Raise();
}

}  // namespace xpkit

#include "xpkit/host/UserControl.h"

#include "xpkit/host/Host.h"
#include "xpkit/platform/Session.h"

namespace xpkit {

UserControl::~UserControl() {
  DestroyControls();
  if (host_) host_->ForgetControl(*this);
  timers_.clear();
  surface_.reset();
  if (hwnd_) session().user().DestroyWindow(hwnd_);
}

void UserControl::Attach(Container& parent, std::string name, const Placement& where) {
  parent_ = &parent;
  host_ = &parent.host();
  name_ = std::move(name);
  placement_ = where;
  const RECT r = PixelRect();
  hwnd_ = session().user().CreateWindowHandle(parent.hWnd(), r);
  surface_.emplace(session().gdi());
  surface_->SetFont(parent.ContainerFont());
  surface_->SetSize(r.right - r.left, r.bottom - r.top);
  host_->RegisterControl(*this);
}

void UserControl::Move(double left, double top, double width, double height, bool notify) {
  const bool resized = width != placement_.width || height != placement_.height;
  placement_.left = left;
  placement_.top = top;
  placement_.width = width;
  placement_.height = height;
  const RECT r = PixelRect();
  session().user().MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  surface_->SetSize(r.right - r.left, r.bottom - r.top);
  if (resized && notify) OnResize();
}

RECT UserControl::PixelRect() const {
  auto px = [&](double units) { return static_cast<LONG>(RoundHalfEven(parent_->ToPixels(units))); };
  const LONG l = px(placement_.left), t = px(placement_.top);
  return {l, t, l + px(placement_.width), t + px(placement_.height)};
}

bool UserControl::Visible() const { return session().user().IsWindowVisible(hwnd_) != FALSE; }
void UserControl::SetVisible(bool v) { session().user().ShowWindow(hwnd_, v ? SW_SHOW : SW_HIDE); }

void UserControl::Refresh() { session().user().InvalidateRect(hwnd_, nullptr, FALSE); }

bool UserControl::HostEnabled() const { return session().user().IsWindowEnabled(hwnd_) != FALSE; }
void UserControl::SetHostEnabled(bool on) { session().user().EnableWindow(hwnd_, on ? TRUE : FALSE); }

std::u16string UserControl::AmbientDisplayName() const { return std::u16string(name_.begin(), name_.end()); }
FontRef UserControl::AmbientFont() const { return parent_->ContainerFont(); }
OLE_COLOR UserControl::AmbientForeColor() const { return parent_->ContainerForeColor(); }

void UserControl::PropertyChanged(std::string_view property) {
  UserControl* self = this;
  host_->PropertyChanged.Raise(self, property);
}

Timer& UserControl::AddTimer() {
  timers_.push_back(std::make_unique<Timer>(*host_));
  return *timers_.back();
}

}  // namespace xpkit

#include "host/UserControl.h"

#include "host/Host.h"
#include "platform/User.h"

namespace xpkit {

UserControl::~UserControl() {
  DestroyControls();
  if (host_) host_->ForgetControl(*this);
  timers_.clear();
  if (hwnd_) DestroyWindow(hwnd_);
}

void UserControl::Attach(Container& parent, std::string name, const Placement& where) {
  parent_ = &parent;
  host_ = &parent.host();
  name_ = std::move(name);
  placement_ = where;
  const int l = TwipsToPixels(where.left), t = TwipsToPixels(where.top);
  const int w = TwipsToPixels(where.width), h = TwipsToPixels(where.height);
  hwnd_ = CreateWindowHandle(parent.hWnd(), {l, t, l + w, t + h});
  surface_.SetFont(parent.ContainerFont());
  surface_.SetSize(w, h);
  host_->RegisterControl(*this);
}

void UserControl::Move(double left, double top, double width, double height, bool notify) {
  const bool resized = width != placement_.width || height != placement_.height;
  placement_.left = left;
  placement_.top = top;
  placement_.width = width;
  placement_.height = height;
  const int l = static_cast<int>(RoundHalfEven(parent_->ToPixels(left)));
  const int t = static_cast<int>(RoundHalfEven(parent_->ToPixels(top)));
  const int w = static_cast<int>(RoundHalfEven(parent_->ToPixels(width)));
  const int h = static_cast<int>(RoundHalfEven(parent_->ToPixels(height)));
  MoveWindow(hwnd_, l, t, w, h, TRUE);
  surface_.SetSize(w, h);
  if (resized && notify) OnResize();
}

bool UserControl::Visible() const { return IsWindowVisible(hwnd_) != FALSE; }
void UserControl::SetVisible(bool v) { ShowWindow(hwnd_, v ? SW_SHOW : SW_HIDE); }

void UserControl::Refresh() { InvalidateRect(hwnd_, nullptr, FALSE); }

bool UserControl::HostEnabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
void UserControl::SetHostEnabled(bool on) { EnableWindow(hwnd_, on ? TRUE : FALSE); }

std::u16string UserControl::AmbientDisplayName() const { return std::u16string(name_.begin(), name_.end()); }
FontRef UserControl::AmbientFont() const { return parent_->ContainerFont(); }
OLE_COLOR UserControl::AmbientForeColor() const { return parent_->ContainerForeColor(); }

void UserControl::PropertyChanged(const std::string& property) { host_->NotifyPropertyChanged(*this, property); }

Timer& UserControl::AddTimer() {
  timers_.push_back(std::make_unique<Timer>(*host_));
  return *timers_.back();
}

}  // namespace xpkit

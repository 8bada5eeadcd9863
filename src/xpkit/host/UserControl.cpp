#include "xpkit/host/UserControl.h"

#include <cmath>
#include <string>

#include "xpkit/Error.h"
#include "xpkit/host/Host.h"
#include "xpkit/platform/Session.h"

namespace xpkit {
namespace {

// How far a control may lie from its container's corner: far enough for any program, and
// near enough that sums of nested positions stay within 32 bits for many levels.
constexpr int kMaxControlOffset = 1 << 24;

}  // namespace

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
  const RECT r = PixelRect(where);
  placement_ = where;
  hwnd_ = session().user().CreateWindowHandle(parent.hWnd(), r);
  if (!hwnd_)
    throw Error(ErrorCode::OutOfMemory,
                "no window can be made for control '" + name_ + "': this session has made all the windows it can");
  surface_.emplace(session().gdi());
  surface_->SetFont(parent.ContainerFont());
  surface_->SetSize(r.right - r.left, r.bottom - r.top);
  host_->RegisterControl(*this);
}

void UserControl::Move(double left, double top, double width, double height, bool notify) {
  const Placement next{left, top, width, height, placement_.dock};
  const RECT r = PixelRect(next);  // before anything changes
  const bool resized = width != placement_.width || height != placement_.height;
  placement_ = next;
  session().user().MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  surface_->SetSize(r.right - r.left, r.bottom - r.top);
  if (resized && notify) OnResize();
}

RECT UserControl::PixelRect(const Placement& p) const {
  auto px = [&](double units) { return RoundHalfEven(parent_->ToPixels(units)); };
  const double l = px(p.left), t = px(p.top), w = px(p.width), h = px(p.height);
  // Written so that NaN fails as well; a negative size is an empty window.
  auto shown = [](double v) { return std::isfinite(v) ? std::to_string(std::llround(v)) : std::string("not finite"); };
  if (!(w <= kMaxControlPixels && h <= kMaxControlPixels && w > -kMaxControlPixels && h > -kMaxControlPixels))
    throw Error(ErrorCode::InvalidProcedureCall, "control '" + name_ + "' would be " + shown(w) + " x " + shown(h) +
                                                     " pixels; a control is at most " +
                                                     std::to_string(kMaxControlPixels) + " pixels either way");
  if (!(std::fabs(l) <= kMaxControlOffset && std::fabs(t) <= kMaxControlOffset))
    throw Error(ErrorCode::InvalidProcedureCall, "control '" + name_ + "' would lie at " + shown(l) + ", " + shown(t) +
                                                     " pixels; a control lies at most " +
                                                     std::to_string(kMaxControlOffset) + " pixels from its container");
  return {static_cast<LONG>(l), static_cast<LONG>(t), static_cast<LONG>(l + w), static_cast<LONG>(t + h)};
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
  host_->NotifyObservers(&HostObserver::PropertyChanged, *this, property);
}

Accessible UserControl::Accessibility() const {
  Accessible a = Describe();
  if (accessibleRole_) a.role = *accessibleRole_;
  if (accessibleName_) a.name = *accessibleName_;
  if (accessibleDescription_) a.description = *accessibleDescription_;
  return a;
}

void UserControl::SetAccessibleRole(AccessibleRole role) {
  accessibleRole_ = role;
  PropertyChanged("AccessibleRole");
}

void UserControl::SetAccessibleName(std::u16string name) {
  accessibleName_ = std::move(name);
  PropertyChanged("AccessibleName");
}

void UserControl::SetAccessibleDescription(std::u16string description) {
  accessibleDescription_ = std::move(description);
  PropertyChanged("AccessibleDescription");
}

Timer& UserControl::AddTimer() {
  timers_.push_back(std::make_unique<Timer>(*host_));
  return *timers_.back();
}

}  // namespace xpkit

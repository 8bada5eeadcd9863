#include "xpkit/host/Container.h"

#include "xpkit/host/Host.h"
#include "xpkit/host/UserControl.h"
#include "xpkit/platform/Session.h"

namespace xpkit {

Container::~Container() = default;

void Container::DestroyControls() {
  while (!controls_.empty()) controls_.pop_back();
}

LineShape& Container::AddLine(std::string name) {
  lines_.push_back(std::make_unique<LineShape>());
  lines_.back()->name = std::move(name);
  return *lines_.back();
}

Session& Container::session() const { return host().session(); }

UserControl* Container::Find(std::string_view name) const {
  for (const auto& c : controls_) {
    if (c->Name() == name) return c.get();
    if (UserControl* inner = c->Find(name)) return inner;
  }
  return nullptr;
}

int Container::ClientWidthPx() const {
  RECT r{};
  session().user().GetClientRect(hWnd(), &r);
  return r.right;
}

int Container::ClientHeightPx() const {
  RECT r{};
  session().user().GetClientRect(hWnd(), &r);
  return r.bottom;
}

void Container::Adopt(std::unique_ptr<UserControl> control, std::string name, const Placement& where,
                      const PropertyBag* stored) {
  UserControl& c = *control;
  controls_.push_back(std::move(control));
  c.Attach(*this, std::move(name), where);
  c.OnInitialize();
  if (stored) c.OnReadProperties(*stored);
  else c.OnInitProperties();
  if (where.dock != Dock::Undocked) LayoutDocked(&c);
  c.OnResize();  // the first resize comes right after load
}

void Container::LayoutDocked(const UserControl* quiet) {
  // Twips of the client area; docked children keep their height.
  const double width = ClientWidthPx() * static_cast<double>(kTwipsPerPixel);
  double top = 0, bottom = ClientHeightPx() * static_cast<double>(kTwipsPerPixel);
  for (const auto& c : controls_) {
    const Placement& p = c->placement();
    if (p.dock == Dock::Top) {
      c->Move(0, top, width, p.height, c.get() != quiet);
      top += p.height;
    } else if (p.dock == Dock::Bottom) {
      bottom -= p.height;
      c->Move(0, bottom, width, p.height, c.get() != quiet);
    }
  }
}

}  // namespace xpkit

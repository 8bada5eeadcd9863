#include "xpkit/host/Container.h"

#include <charconv>
#include <cmath>

#include "xpkit/Error.h"
#include "xpkit/host/Host.h"
#include "xpkit/host/UserControl.h"
#include "xpkit/platform/Session.h"

namespace xpkit {

namespace {

// Refuses a placement with a position or size out of its range (NaN included), naming the
// control, the field, its range in the container's unit and the value given.
void CheckPlacement(const std::string& name, const Placement& p, double unitsPerPixel) {
  const bool pixels = unitsPerPixel == 1;
  auto check = [&](const char* field, double v, PlacementRange range) {
    const double min = range.min * unitsPerPixel, max = range.max * unitsPerPixel;
    if (v >= min && v <= max) return;
    char given[32];
    const auto end = std::to_chars(given, given + sizeof given, v).ptr;
    auto whole = [](double x) { return std::to_string(std::lround(x)); };
    throw Error(ErrorCode::InvalidProcedureCall,
                "control '" + name + "': its " + field + " must be a number of " + (pixels ? "pixels" : "twips") +
                    " from " + whole(min) + " to " + whole(max) +
                    (pixels ? " (its container places its controls in pixels)"
                            : " (" + whole(range.min) + " to " + whole(range.max) + " pixels)") +
                    ", not " + std::string(given, end));
  };
  check("left", p.left, kPositionPixels);
  check("top", p.top, kPositionPixels);
  check("width", p.width, kSizePixels);
  check("height", p.height, kSizePixels);
}

}  // namespace

Container::~Container() = default;

void Container::DestroyControls() {
  std::vector<Container*> path{this};  // down to the container whose last child goes next
  while (!path.empty()) {
    Container& c = *path.back();
    if (c.controls_.empty()) {
      path.pop_back();
    } else if (UserControl& last = *c.controls_.back(); !last.controls_.empty()) {
      path.push_back(&last);
    } else {
      c.controls_.pop_back();
    }
  }
}

LineShape& Container::AddLine(std::string name) {
  lines_.push_back(std::make_unique<LineShape>());
  lines_.back()->name = std::move(name);
  return *lines_.back();
}

Session& Container::session() const { return host().session(); }

UserControl* Container::Find(std::string_view name) const {
  UserControl* found = nullptr;
  ForEachControl([&](UserControl& c, int) {
    if (!found && c.Name() == name) found = &c;
    return !found;
  });
  return found;
}

void Container::ForEachControl(const std::function<bool(UserControl&, int depth)>& visit) const {
  // Each entry: a container and the index of its next child; by index, so controls that
  // `visit` adds are seen too.
  std::vector<std::pair<const Container*, std::size_t>> stack{{this, 0}};
  while (!stack.empty()) {
    auto& [c, next] = stack.back();
    if (next == c->controls_.size()) {
      stack.pop_back();
      continue;
    }
    UserControl& child = *c->controls_[next++];
    if (visit(child, static_cast<int>(stack.size()))) stack.emplace_back(&child, 0);
  }
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
  CheckPlacement(name, where, UnitsPerPixel());
  UserControl& c = *control;
  controls_.push_back(std::move(control));
  try {
    c.Attach(*this, std::move(name), where);
    c.OnInitialize();
    // A control placed with nothing stored, from C++ or from a layout, is a new instance.
    // A save that leaves every value out gives an empty set too, which comes back the
    // same as long as a control's new-instance defaults agree with its writing defaults.
    if (stored && !stored->entries().empty()) c.OnReadProperties(*stored);
    else c.OnInitProperties();
    if (where.dock != Dock::Undocked) LayoutDocked(&c);
    c.OnResize();  // the first resize comes right after load
  } catch (...) {
    // A control half made is no control: it goes, and its docked siblings close up.
    controls_.pop_back();
    if (where.dock != Dock::Undocked) LayoutDocked();
    throw;
  }
  host().NotifyObservers(&HostObserver::ControlAdded, c);
}

void Container::LayoutDocked(const UserControl* quiet) {
  // The client area in the children's unit (pixels inside a control drawing in pixels);
  // docked children keep their height.
  const double width = ClientWidthPx() * UnitsPerPixel();
  double top = 0, bottom = ClientHeightPx() * UnitsPerPixel();
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

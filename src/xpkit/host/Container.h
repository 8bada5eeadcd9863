// Anything that holds controls: a form or a user control. It creates its children in
// order, docks them, and hands its font and foreground colour to them as ambient values.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xpkit/host/LineShape.h"
#include "xpkit/host/PropertyBag.h"
#include "xpkit/platform/Font.h"
#include "xpkit/platform/VbTypes.h"
#include "xpkit/platform/Win32Types.h"

namespace xpkit {

class Host;
class Session;
class UserControl;

enum class Dock { Undocked, Top, Bottom };

// A control's window and image are at most this many pixels wide and high, whatever
// unit its container places it in, and a control is placed at most this many pixels from
// its container's corner either way.
constexpr int kMaxControlPixels = 16384;

// The range of a placement's position or size, in pixels.
struct PlacementRange {
  double min, max;
};
constexpr PlacementRange kPositionPixels{-kMaxControlPixels, kMaxControlPixels};
constexpr PlacementRange kSizePixels{0, kMaxControlPixels};

// Where a child sits, in its container's unit: twips, or pixels inside a control that
// draws in pixels.
struct Placement {
  double left = 0, top = 0, width = 0, height = 0;
  Dock dock = Dock::Undocked;
};

class Container {
 public:
  virtual ~Container();
  virtual HWND hWnd() const = 0;
  virtual Host& host() const = 0;
  Session& session() const;
  virtual FontRef ContainerFont() const = 0;
  virtual OLE_COLOR ContainerForeColor() const = 0;
  // The unit children's positions and lines are given in, as units per pixel: twips here.
  virtual double UnitsPerPixel() const { return kTwipsPerPixel; }
  double ToPixels(double units) const { return units / UnitsPerPixel(); }

  // Creates a child: creation, then its stored properties or, without any (no set, or an
  // empty one), its new-instance defaults, then placement with its first resize. A child
  // that cannot be made (a position or size out of its range, no window or device context
  // left in the session, a stored value it rejects) is an Error, and is not kept.
  template <class T>
  T& Add(std::string name, const Placement& where, const PropertyBag* stored = nullptr) {
    auto owned = std::make_unique<T>();
    T& control = *owned;
    Adopt(std::move(owned), std::move(name), where, stored);
    return control;
  }
  LineShape& AddLine(std::string name);

  const std::vector<std::unique_ptr<UserControl>>& controls() const { return controls_; }
  const std::vector<std::unique_ptr<LineShape>>& lines() const { return lines_; }
  // The control of that name among the children and, depth first in creation order,
  // their children; nullptr when there is none.
  UserControl* Find(std::string_view name) const;
  // Calls `visit` for every control below this container, depth first in creation order,
  // each before its children, with its depth (1 for a child of this container); when it
  // returns false the control's children are passed over. The walk keeps its own stack,
  // so it goes as deep as a program nests controls.
  void ForEachControl(const std::function<bool(UserControl&, int depth)>& visit) const;

  int ClientWidthPx() const;
  int ClientHeightPx() const;
  // Places every docked child against its edge at full client width, which reaches it
  // as a resize (except `quiet`, which is resized by its creation).
  void LayoutDocked(const UserControl* quiet = nullptr);

 protected:
  // Destroys the children, last first, each after its own children; owners call it while
  // their window still exists. Only childless controls are destroyed, so no destructor
  // recurses, however deep the controls nest.
  void DestroyControls();

 private:
  void Adopt(std::unique_ptr<UserControl> control, std::string name, const Placement& where, const PropertyBag* stored);
  std::vector<std::unique_ptr<UserControl>> controls_;
  std::vector<std::unique_ptr<LineShape>> lines_;
};

}  // namespace xpkit

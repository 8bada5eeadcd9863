// Anything that holds controls: a form or a user control. It creates its children in
// order, docks them, and hands its font and foreground colour to them as ambient values.
#pragma once
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

// Where a child sits, in its container's twips.
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
  // Children's positions and lines are in twips here.
  virtual double ToPixels(double twips) const { return twips / kTwipsPerPixel; }

  // Creates a child: creation, then its stored properties (or, without a stored set,
  // the new-instance defaults), then placement with its first resize.
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

  int ClientWidthPx() const;
  int ClientHeightPx() const;
  // Places every docked child against its edge at full client width, which reaches it
  // as a resize (except `quiet`, which is resized by its creation).
  void LayoutDocked(const UserControl* quiet = nullptr);

 protected:
  // Destroys the children, last first; owners call it while their window still exists.
  void DestroyControls();

 private:
  void Adopt(std::unique_ptr<UserControl> control, std::string name, const Placement& where, const PropertyBag* stored);
  std::vector<std::unique_ptr<UserControl>> controls_;
  std::vector<std::unique_ptr<LineShape>> lines_;
};

}  // namespace xpkit

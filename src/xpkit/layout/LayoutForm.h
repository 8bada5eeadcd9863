// A window built from a layout: its attributes, then its controls and lines created in
// stored order, each control from its class in a registry and its stored property set.
// Every control, nested ones included, can be reached by name and type, so a program
// wires the events it wants in C++.
#pragma once
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "xpkit/Error.h"
#include "xpkit/host/Form.h"
#include "xpkit/host/LineShape.h"
#include "xpkit/layout/ControlRegistry.h"
#include "xpkit/layout/Layout.h"
#include "xpkit/layout/LayoutError.h"

namespace xpkit {

class LayoutForm : public Form {
 public:
  // Builds the window with the kit's own control classes, or with those of `registry`.
  // A control that cannot be created (a stored value its class rejects, no memory for
  // its image) is a LayoutError at the control's line.
  LayoutForm(Host& host, const Layout& layout);
  LayoutForm(Host& host, const Layout& layout, const ControlRegistry& registry);

  // The control of that name and class, nested or not; nullptr when there is none.
  template <class T>
  T* FindControl(std::string_view name) const {
    return dynamic_cast<T*>(Find(name));
  }
  // The same, or an Error naming the control and what it is instead.
  template <class T>
  T& Control(std::string_view name) const {
    if (T* c = FindControl<T>(name)) return *c;
    throw Error(ErrorCode::InvalidProcedureCall, NotFound(name));
  }
  // The line of that name, in the window or in a control; nullptr when there is none.
  LineShape* FindLine(std::string_view name) const;

  // The window as it stands, every control's property set written by its own save.
  Layout SaveLayout() const;

 private:
  struct Created {
    UserControl* control = nullptr;
    LineShape* line = nullptr;
    std::string parent, classId;
  };
  std::string NotFound(std::string_view name) const;
  void Create(const Layout& layout, const ControlRegistry& registry, const ControlLayout& c);
  void Create(const Layout& layout, const LineLayout& l);
  Container& ParentOf(const Layout& layout, const std::string& name, int line);

  WindowLayout window_;
  std::vector<Created> created_;
};

}  // namespace xpkit

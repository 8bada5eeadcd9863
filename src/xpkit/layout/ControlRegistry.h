// The control classes a layout may name, by class identifier: the kit's own two
// (Morvel.XPHeader and Morvel.XPButton) and any a program registers, each with the
// stored properties its layouts may set.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "xpkit/host/Container.h"
#include "xpkit/host/PropertyTable.h"
#include "xpkit/host/UserControl.h"

namespace xpkit {

struct ControlClass {
  std::string id;
  std::vector<PropertyInfo> properties;  // what `set` lines may name
  // Creates an instance in `parent` from its stored property set (new-instance defaults
  // when `stored` is null or empty).
  UserControl& (*create)(Container& parent, const std::string& name, const Placement& where,
                         const PropertyBag* stored);
  const std::type_info* type;
  // The unit its controls place their own children in: vbPixels for a class whose
  // controls switch their surface to pixels (it says so with `static constexpr int
  // kScaleMode = vbPixels`), so that a layout's sizes inside them are bounded as pixels.
  int scaleMode = vbTwips;

  // The property of that key, matched without regard to case; nullptr when there is none.
  const PropertyInfo* FindProperty(std::string_view key) const;
  // "BorderStyle, Caption, ...", for messages.
  std::string KnownProperties() const;
};

class ControlRegistry {
 public:
  // Holds the kit's own classes.
  ControlRegistry();

  // Adds a class: T is a UserControl with a default constructor; its stored properties
  // are those of `T::Properties()` when it has one, else none, and it places its children
  // in `T::kScaleMode` when it has one, else in twips. An identifier given twice is an
  // Error naming it.
  template <class T>
  void Register(std::string id) {
    ControlClass c;
    c.id = std::move(id);
    if constexpr (requires { T::Properties().Infos(); }) c.properties = T::Properties().Infos();
    c.create = [](Container& parent, const std::string& name, const Placement& where,
                  const PropertyBag* stored) -> UserControl& { return parent.Add<T>(name, where, stored); };
    c.type = &typeid(T);
    if constexpr (requires { T::kScaleMode; }) c.scaleMode = T::kScaleMode;
    Add(std::move(c));
  }

  // nullptr for an identifier no class has.
  const ControlClass* Find(std::string_view id) const;
  // The class of an instance (its exact type), nullptr for a control of no registered class.
  const ControlClass* ClassOf(const UserControl& control) const;
  // The known identifiers, for messages: "Morvel.XPHeader, Morvel.XPButton".
  std::string KnownClasses() const;

 private:
  void Add(ControlClass c);
  std::vector<ControlClass> classes_;
};

}  // namespace xpkit

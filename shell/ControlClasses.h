// The control classes a stored layout may name, by class identifier.
#pragma once
#include <string>
#include <string_view>

#include "host/Container.h"
#include "host/UserControl.h"

namespace xpkit {

struct ControlClass {
  const char* id;
  // Creates an instance in `parent` from its stored property set.
  UserControl& (*create)(Container& parent, const std::string& name, const Placement& where, const PropertyBag& stored);
  bool (*is)(const UserControl& control);
};

// nullptr for an identifier no class has.
const ControlClass* FindControlClass(std::string_view id);
// The class of an instance, nullptr for a control of no stored class.
const ControlClass* ClassOf(const UserControl& control);
// The known identifiers, for messages: "Morvel.XPHeader, Morvel.XPButton".
std::string KnownControlClasses();

}  // namespace xpkit

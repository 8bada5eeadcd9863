#include "xpkit/layout/ControlRegistry.h"

#include <typeinfo>

#include "xpkit/Error.h"
#include "xpkit/controls/button/XPButton.h"
#include "xpkit/controls/header/XPHeader.h"

namespace xpkit {

const PropertyInfo* ControlClass::FindProperty(std::string_view key) const {
  for (const PropertyInfo& p : properties)
    if (SameKey(p.key, key)) return &p;
  return nullptr;
}

std::string ControlClass::KnownProperties() const {
  std::string out;
  for (const PropertyInfo& p : properties) out += (out.empty() ? "" : ", ") + std::string(p.key);
  return out.empty() ? "none" : out;
}

ControlRegistry::ControlRegistry() {
  Register<XPHeader>(XPHeader::kClassId);
  Register<XPButton>(XPButton::kClassId);
}

void ControlRegistry::Add(ControlClass c) {
  if (Find(c.id)) throw Error(ErrorCode::InvalidProcedureCall, "the class identifier '" + c.id + "' is registered twice");
  classes_.push_back(std::move(c));
}

const ControlClass* ControlRegistry::Find(std::string_view id) const {
  for (const ControlClass& c : classes_)
    if (c.id == id) return &c;
  return nullptr;
}

const ControlClass* ControlRegistry::ClassOf(const UserControl& control) const {
  for (const ControlClass& c : classes_)
    if (*c.type == typeid(control)) return &c;
  return nullptr;
}

std::string ControlRegistry::KnownClasses() const {
  std::string out;
  for (const ControlClass& c : classes_) out += (out.empty() ? "" : ", ") + c.id;
  return out;
}

}  // namespace xpkit

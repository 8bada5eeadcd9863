#include "shell/ControlClasses.h"

#include "controls/button/XPButton.h"
#include "controls/header/XPHeader.h"

namespace xpkit {
namespace {

template <class T>
constexpr ControlClass Entry() {
  return {T::kClassId,
          [](Container& parent, const std::string& name, const Placement& where, const PropertyBag& stored) -> UserControl& {
            return parent.Add<T>(name, where, &stored);
          },
          [](const UserControl& c) { return dynamic_cast<const T*>(&c) != nullptr; }};
}

constexpr ControlClass kClasses[] = {Entry<XPHeader>(), Entry<XPButton>()};

}  // namespace

const ControlClass* FindControlClass(std::string_view id) {
  for (const ControlClass& c : kClasses)
    if (id == c.id) return &c;
  return nullptr;
}

const ControlClass* ClassOf(const UserControl& control) {
  for (const ControlClass& c : kClasses)
    if (c.is(control)) return &c;
  return nullptr;
}

std::string KnownControlClasses() {
  std::string out;
  for (const ControlClass& c : kClasses) out += (out.empty() ? "" : ", ") + std::string(c.id);
  return out;
}

}  // namespace xpkit

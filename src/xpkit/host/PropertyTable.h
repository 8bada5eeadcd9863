// A control's stored properties as one table: for each, the key it is stored and
// announced under, its type, its reading and writing defaults, and how the control gives
// and takes its value. The table drives loading, saving and the change notices, and
// tells a layout which keys of which types a control class has.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "xpkit/host/PropertyBag.h"

namespace xpkit {

// The types of stored values, in the order of PropertyValue's alternatives.
enum class PropertyType : std::uint8_t { Boolean, Long, Color, Single, Text, Font };

// A value as a control holds it; a font is the shared object itself.
using HeldValue = std::variant<bool, std::int32_t, ColorValue, float, std::u16string, FontRef>;

// What a layout checks a stored value against.
struct PropertyInfo {
  std::string_view key;
  PropertyType type;
};

// Reads `key` as `type`: a missing key gives `def` itself (for a font, the same object),
// a stored font a new object. A stored value of another type is a TypeMismatch naming the key.
HeldValue ReadHeld(const PropertyBag& bag, std::string_view key, PropertyType type, const HeldValue& def);
// Writes `value` under `key`, or leaves the key out when `def` is given and equal to it
// (fonts compare by what is stored of them).
void WriteHeld(PropertyBag& bag, std::string_view key, const HeldValue& value, const HeldValue* def);

template <class C>
struct PropertyEntry {
  PropertyInfo info;
  HeldValue (*readDefault)(const C&);
  HeldValue (*writeDefault)(const C&);  // nullptr: always written
  HeldValue (*get)(const C&);
  void (*set)(C&, const HeldValue&);  // stores the value as loading does: no repaint, no notice
};

// `entries` in the order a load reads them; `saveOrder` the order a save writes them.
template <class C, std::size_t N>
struct PropertyTable {
  std::array<PropertyEntry<C>, N> entries;
  std::array<std::uint8_t, N> saveOrder;

  std::string_view Key(std::size_t index) const { return entries[index].info.key; }

  void Load(C& control, const PropertyBag& bag) const {
    // Each reading default is taken just before its read, so it may follow a value
    // read before it.
    for (const PropertyEntry<C>& e : entries)
      e.set(control, ReadHeld(bag, e.info.key, e.info.type, e.readDefault(control)));
  }

  void Save(const C& control, PropertyBag& bag) const {
    for (std::uint8_t i : saveOrder) {
      const PropertyEntry<C>& e = entries[i];
      if (e.writeDefault) {
        const HeldValue def = e.writeDefault(control);
        WriteHeld(bag, e.info.key, e.get(control), &def);
      } else {
        WriteHeld(bag, e.info.key, e.get(control), nullptr);
      }
    }
  }

  std::vector<PropertyInfo> Infos() const {
    std::vector<PropertyInfo> out;
    for (const PropertyEntry<C>& e : entries) out.push_back(e.info);
    return out;
  }
};

}  // namespace xpkit

#include "xpkit/host/PropertyTable.h"

namespace xpkit {

HeldValue ReadHeld(const PropertyBag& bag, std::string_view key, PropertyType type, const HeldValue& def) {
  switch (type) {
    case PropertyType::Boolean: return bag.ReadBool(key, std::get<bool>(def) ? VbTrue : VbFalse) != 0;
    case PropertyType::Long: return bag.ReadLong(key, std::get<std::int32_t>(def));
    case PropertyType::Color: return ColorValue{bag.ReadColor(key, std::get<ColorValue>(def).value)};
    case PropertyType::Single: return bag.ReadSingle(key, std::get<float>(def));
    case PropertyType::Text: return bag.ReadText(key, std::get<std::u16string>(def));
    case PropertyType::Font: return bag.ReadFont(key, std::get<FontRef>(def));
  }
  return def;
}

void WriteHeld(PropertyBag& bag, std::string_view key, const HeldValue& value, const HeldValue* def) {
  if (const FontRef* font = std::get_if<FontRef>(&value)) {
    bag.WriteFont(key, *font, def ? std::get<FontRef>(*def) : nullptr);
    return;
  }
  // Every other held value is stored as it is.
  const auto stored = [](const HeldValue& v) {
    return std::visit(
        [](const auto& x) -> PropertyValue {
          if constexpr (std::is_same_v<std::decay_t<decltype(x)>, FontRef>) return FontDesc{};
          else return x;
        },
        v);
  };
  if (def) bag.WriteProperty(key, stored(value), stored(*def));
  else bag.WriteProperty(key, stored(value));
}

}  // namespace xpkit

// The stored property set of a control: typed values under case-insensitive keys, read
// with a default and written with a default (a value equal to it is not stored).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "xpkit/platform/Font.h"
#include "xpkit/platform/VbTypes.h"

namespace xpkit {

struct ColorValue {
  OLE_COLOR value = 0;
  bool operator==(const ColorValue&) const = default;
};

// Boolean, 32-bit integer, colour, single, text, or a stored font (its description).
using PropertyValue = std::variant<bool, std::int32_t, ColorValue, float, std::u16string, FontDesc>;

const char* TypeName(const PropertyValue& v);

// Stored keys match without regard to case: "Caption" is "caption".
bool SameKey(std::string_view a, std::string_view b);

class PropertyBag {
 public:
  // The stored value, or `def` when the key is missing.
  PropertyValue ReadProperty(std::string_view key, const PropertyValue& def) const;
  // Stores `value`, or removes the key when `value` equals `def`.
  void WriteProperty(std::string_view key, const PropertyValue& value, const PropertyValue& def);
  // Stores `value` whatever it is.
  void WriteProperty(std::string_view key, const PropertyValue& value);

  // Typed reads; a stored value of another type is a TypeMismatch error naming the key.
  VBBool ReadBool(std::string_view key, VBBool def) const;
  std::int32_t ReadLong(std::string_view key, std::int32_t def) const;
  OLE_COLOR ReadColor(std::string_view key, OLE_COLOR def) const;
  float ReadSingle(std::string_view key, float def) const;
  std::u16string ReadText(std::string_view key, const std::u16string& def) const;
  // A stored font comes back as a new font object; a missing one as `def` itself.
  FontRef ReadFont(std::string_view key, const FontRef& def) const;
  void WriteFont(std::string_view key, const FontRef& value, const FontRef& def);

  bool Has(std::string_view key) const { return Find(key) != nullptr; }
  const std::vector<std::pair<std::string, PropertyValue>>& entries() const { return entries_; }
  bool operator==(const PropertyBag&) const = default;

 private:
  const PropertyValue* Find(std::string_view key) const;
  std::vector<std::pair<std::string, PropertyValue>> entries_;  // in order of first write
};

}  // namespace xpkit

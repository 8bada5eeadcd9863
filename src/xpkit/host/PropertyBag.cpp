#include "xpkit/host/PropertyBag.h"

#include <algorithm>

#include "xpkit/Error.h"
#include "xpkit/codepage/Ascii.h"

namespace xpkit {
namespace {

[[noreturn]] void Mismatch(std::string_view key, const PropertyValue& v, const char* wanted) {
  throw Error(ErrorCode::TypeMismatch,
              "property '" + std::string(key) + "' holds a " + TypeName(v) + " value, not a " + wanted);
}

}  // namespace

bool SameKey(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

const char* TypeName(const PropertyValue& v) {
  static constexpr const char* kNames[] = {"Boolean", "Long", "Color", "Single", "String", "Font"};
  return kNames[v.index()];
}

const PropertyValue* PropertyBag::Find(std::string_view key) const {
  for (const auto& [k, v] : entries_)
    if (SameKey(k, key)) return &v;
  return nullptr;
}

PropertyValue PropertyBag::ReadProperty(std::string_view key, const PropertyValue& def) const {
  const PropertyValue* v = Find(key);
  return v ? *v : def;
}

void PropertyBag::WriteProperty(std::string_view key, const PropertyValue& value, const PropertyValue& def) {
  if (value == def) {
    std::erase_if(entries_, [&](const auto& e) { return SameKey(e.first, key); });
    return;
  }
  WriteProperty(key, value);
}

void PropertyBag::WriteProperty(std::string_view key, const PropertyValue& value) {
  for (auto& [k, v] : entries_)
    if (SameKey(k, key)) {
      v = value;
      return;
    }
  entries_.emplace_back(std::string(key), value);
}

VBBool PropertyBag::ReadBool(std::string_view key, VBBool def) const {
  const PropertyValue* v = Find(key);
  if (!v) return def;
  if (const bool* b = std::get_if<bool>(v)) return ToVBBool(*b);
  if (const std::int32_t* n = std::get_if<std::int32_t>(v)) return ToVBBool(*n != 0);
  Mismatch(key, *v, "Boolean");
}

std::int32_t PropertyBag::ReadLong(std::string_view key, std::int32_t def) const {
  const PropertyValue* v = Find(key);
  if (!v) return def;
  if (const std::int32_t* n = std::get_if<std::int32_t>(v)) return *n;
  if (const bool* b = std::get_if<bool>(v)) return *b ? -1 : 0;
  Mismatch(key, *v, "Long");
}

OLE_COLOR PropertyBag::ReadColor(std::string_view key, OLE_COLOR def) const {
  const PropertyValue* v = Find(key);
  if (!v) return def;
  if (const ColorValue* c = std::get_if<ColorValue>(v)) return c->value;
  if (const std::int32_t* n = std::get_if<std::int32_t>(v)) return static_cast<OLE_COLOR>(*n);
  Mismatch(key, *v, "Color");
}

float PropertyBag::ReadSingle(std::string_view key, float def) const {
  const PropertyValue* v = Find(key);
  if (!v) return def;
  if (const float* f = std::get_if<float>(v)) return *f;
  if (const std::int32_t* n = std::get_if<std::int32_t>(v)) return static_cast<float>(*n);
  Mismatch(key, *v, "Single");
}

std::u16string PropertyBag::ReadText(std::string_view key, const std::u16string& def) const {
  const PropertyValue* v = Find(key);
  if (!v) return def;
  if (const std::u16string* s = std::get_if<std::u16string>(v)) return *s;
  Mismatch(key, *v, "String");
}

FontRef PropertyBag::ReadFont(std::string_view key, const FontRef& def) const {
  const PropertyValue* v = Find(key);
  if (!v) return def;
  if (const FontDesc* f = std::get_if<FontDesc>(v)) return MakeFont(*f);
  Mismatch(key, *v, "Font");
}

void PropertyBag::WriteFont(std::string_view key, const FontRef& value, const FontRef& def) {
  // Fonts compare by what is stored of them; one equal to the default is left out.
  const FontDesc stored = value ? value->desc() : FontDesc{};
  if (def) WriteProperty(key, stored, def->desc());
  else WriteProperty(key, stored);
}

}  // namespace xpkit

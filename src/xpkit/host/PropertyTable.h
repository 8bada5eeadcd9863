// A control's stored properties as one table of rows: each row the key its property is
// stored and announced under, and its reading and writing defaults, over the control's
// own value of the property. The table drives loading and saving, and tells a layout
// which keys of which types a control class has.
//
//   Field<XPHeader, [](auto& h) -> auto& { return h.caption_; }, kDisplayName>("Caption")
//
// is a text held in `caption_`, read and written with the display name as its default.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "xpkit/host/PropertyBag.h"
#include "xpkit/host/UserControl.h"

namespace xpkit {

// The types of stored values, in the order of PropertyValue's alternatives.
enum class PropertyType : std::uint8_t { Boolean, Long, Color, Single, Text, Font };

// What a layout checks a stored value against.
struct PropertyInfo {
  std::string_view key;
  PropertyType type;
};

// How a control's value of type T is kept in a property set: its stored type, its read
// (a missing key gives `def` itself; a stored value of another type is a TypeMismatch
// naming the key) and its write, left out when equal to `def`.
template <class T>
struct StoredAs;

template <>
struct StoredAs<bool> {
  static constexpr PropertyType kType = PropertyType::Boolean;
  static bool Read(const PropertyBag& bag, std::string_view key, bool def) {
    return bag.ReadBool(key, ToVBBool(def)) != 0;
  }
  static PropertyValue Stored(bool v) { return v; }
};

// A 16-bit state flag (VBBool: true is -1) is a Boolean too.
template <>
struct StoredAs<VBBool> {
  static constexpr PropertyType kType = PropertyType::Boolean;
  static VBBool Read(const PropertyBag& bag, std::string_view key, VBBool def) { return bag.ReadBool(key, def); }
  static PropertyValue Stored(VBBool v) { return v != 0; }
};

template <>
struct StoredAs<std::int32_t> {
  static constexpr PropertyType kType = PropertyType::Long;
  static std::int32_t Read(const PropertyBag& bag, std::string_view key, std::int32_t def) {
    return bag.ReadLong(key, def);
  }
  static PropertyValue Stored(std::int32_t v) { return v; }
};

template <>
struct StoredAs<OLE_COLOR> {
  static constexpr PropertyType kType = PropertyType::Color;
  static OLE_COLOR Read(const PropertyBag& bag, std::string_view key, OLE_COLOR def) { return bag.ReadColor(key, def); }
  static PropertyValue Stored(OLE_COLOR v) { return ColorValue{v}; }
};

template <>
struct StoredAs<float> {
  static constexpr PropertyType kType = PropertyType::Single;
  static float Read(const PropertyBag& bag, std::string_view key, float def) { return bag.ReadSingle(key, def); }
  static PropertyValue Stored(float v) { return v; }
};

template <>
struct StoredAs<std::u16string> {
  static constexpr PropertyType kType = PropertyType::Text;
  static std::u16string Read(const PropertyBag& bag, std::string_view key, const std::u16string& def) {
    return bag.ReadText(key, def);
  }
  static PropertyValue Stored(const std::u16string& v) { return v; }
};

// A font is held as a shared object and stored as its description: a stored one reads
// back as a new object, a missing one as the default object itself.
template <>
struct StoredAs<FontRef> {
  static constexpr PropertyType kType = PropertyType::Font;
  static FontRef Read(const PropertyBag& bag, std::string_view key, const FontRef& def) { return bag.ReadFont(key, def); }
};

template <class T>
void WriteStored(PropertyBag& bag, std::string_view key, const T& value, const T& def) {
  if constexpr (std::is_same_v<T, FontRef>) bag.WriteFont(key, value, def);
  else bag.WriteProperty(key, StoredAs<T>::Stored(value), StoredAs<T>::Stored(def));
}
template <class T>
void WriteStored(PropertyBag& bag, std::string_view key, const T& value) {
  if constexpr (std::is_same_v<T, FontRef>) bag.WriteFont(key, value, nullptr);
  else bag.WriteProperty(key, StoredAs<T>::Stored(value));
}

// Defaults are functions of the control, taken at the moment of the read or write.
inline constexpr auto kDisplayName = [](const UserControl& c) { return c.AmbientDisplayName(); };
inline constexpr auto kContainerFont = [](const UserControl& c) { return c.AmbientFont(); };
inline constexpr auto kContainerForeColor = [](const UserControl& c) { return c.AmbientForeColor(); };
template <auto V>
inline constexpr auto kConstant = [](const UserControl&) { return V; };
// As a writing default: the value is stored whatever it is.
struct AlwaysStored {};
inline constexpr AlwaysStored kAlwaysStored;

template <class C>
struct PropertyRow {
  PropertyInfo info;
  void (*load)(C&, const PropertyBag&, std::string_view key);
  void (*save)(const C&, PropertyBag&, std::string_view key);
};

// A row over the value `get` gives and `set` takes; `set` stores it as loading does (no
// repaint, no notice). The writing default is the reading default unless given.
template <class C, auto get, auto set, auto readDefault, auto writeDefault = readDefault>
constexpr PropertyRow<C> Property(std::string_view key) {
  using T = std::decay_t<decltype(get(std::declval<const C&>()))>;
  return {{key, StoredAs<T>::kType},
          [](C& c, const PropertyBag& bag, std::string_view k) { set(c, StoredAs<T>::Read(bag, k, T(readDefault(c)))); },
          [](const C& c, PropertyBag& bag, std::string_view k) {
            if constexpr (std::is_same_v<std::remove_cv_t<decltype(writeDefault)>, AlwaysStored>)
              WriteStored<T>(bag, k, get(c));
            else
              WriteStored<T>(bag, k, get(c), T(writeDefault(c)));
          }};
}

// A row over the member that `at` gives of a control, const or not.
template <class C, auto at, auto readDefault, auto writeDefault = readDefault>
constexpr PropertyRow<C> Field(std::string_view key) {
  return Property<C, [](const C& c) { return at(c); }, [](C& c, auto v) { at(c) = std::move(v); }, readDefault,
                  writeDefault>(key);
}

// `rows` in the order a load reads them; `saveOrder` the keys in the order a save writes
// them, or none for the load order. Make it `static constexpr` and check it with
// `static_assert(table.Valid())`.
template <class C, std::size_t N>
struct PropertyTable {
  std::array<PropertyRow<C>, N> rows;
  std::array<std::string_view, N> saveOrder{};

  void Load(C& control, const PropertyBag& bag) const {
    // Each reading default is taken just before its read, so it may follow a value read
    // before it.
    for (const PropertyRow<C>& r : rows) r.load(control, bag, r.info.key);
  }

  void Save(const C& control, PropertyBag& bag) const {
    for (std::size_t i = 0; i < N; ++i) {
      const PropertyRow<C>& r = rows[saveOrder[0].empty() ? i : IndexOf(saveOrder[i])];
      r.save(control, bag, r.info.key);
    }
  }

  // The index of the row stored under exactly `key`; N when there is none. (An index, not
  // a pointer: a sanitized build cannot compare a static table's addresses at compile time.)
  constexpr std::size_t IndexOf(std::string_view key) const {
    std::size_t i = 0;
    while (i < N && rows[i].info.key != key) ++i;
    return i;
  }

  // Keys differ, and the save order, when given, names each row once.
  constexpr bool Valid() const {
    for (std::size_t i = 0; i < N; ++i) {
      for (std::size_t j = i + 1; j < N; ++j)
        if (rows[i].info.key == rows[j].info.key || (!saveOrder[0].empty() && saveOrder[i] == saveOrder[j]))
          return false;
      if (!saveOrder[0].empty() && IndexOf(saveOrder[i]) == N) return false;
    }
    return true;
  }

  std::vector<PropertyInfo> Infos() const {
    std::vector<PropertyInfo> out;
    for (const PropertyRow<C>& r : rows) out.push_back(r.info);
    return out;
  }
};

}  // namespace xpkit
